#include "app/files/version_info.h"

#include <algorithm>

#include "app/files/elf_section.h"
#include "app/files/image_bytes.h"
#include "app/files/pe_version_resource.h"
#include "app/files/version_block.h"

namespace utils {
namespace {

constexpr char kNoVersion[] = "0.0.0.0";
// A VS_VERSIONINFO block states its length in 16 bits.
constexpr std::uint64_t kMaxVersionBlock = 0x10000;

std::string VersionTextOf(const ImageBytes& image)
{
    auto range = FindElfSection(image, kVersionSectionName);
    if (!range) range = FindPeVersionResource(image);
    if (!range) return kNoVersion;
    const auto block =
        image.ReadBytes(range->offset, static_cast<std::size_t>(std::min(range->size, kMaxVersionBlock)));
    if (!block) return kNoVersion;
    const auto version = ParseVersionInfo(*block);
    return version ? FormatFileVersion(*version) : std::string();
}

}  // namespace

std::string GetFileVersionText(const std::string& path)
{
    const auto file = FileImage::Open(path);
    return file ? VersionTextOf(*file) : kNoVersion;
}

std::string GetImageVersionText(std::span<const std::uint8_t> image)
{
    return VersionTextOf(SpanImage(image));
}

}  // namespace utils
