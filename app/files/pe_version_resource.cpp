#include "app/files/pe_version_resource.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace utils {
namespace {

constexpr std::uint32_t kTypeVersion = 16;     // RT_VERSION
constexpr std::uint32_t kVersionInfoName = 1;  // VS_VERSION_INFO
constexpr std::uint32_t kSubdirectoryBit = 0x80000000u;
constexpr std::uint32_t kNamedEntryBit = 0x80000000u;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kResourceEntrySize = 8;

struct Section {
    std::uint32_t virtualAddress = 0;
    std::uint32_t extent = 0;  // bytes of the section that the file holds
    std::uint32_t rawOffset = 0;
};

struct Directory {
    std::uint32_t offset = 0;  // from the start of the resource tree
    bool isSubdirectory = false;
};

class PeImage {
public:
    PeImage(const ImageBytes& image, std::vector<Section> sections) : image_(image), sections_(std::move(sections)) {}

    // File offset of count bytes at rva, all inside one section's file data.
    std::optional<std::uint64_t> Map(std::uint64_t rva, std::uint64_t count) const
    {
        for (const Section& s : sections_) {
            if (rva < s.virtualAddress) continue;
            const std::uint64_t into = rva - s.virtualAddress;
            if (into >= s.extent || count > s.extent - into) continue;
            const std::uint64_t offset = s.rawOffset + into;
            if (offset > image_.Size() || count > image_.Size() - offset) return std::nullopt;
            return offset;
        }
        return std::nullopt;
    }

    std::optional<std::vector<std::uint8_t>> ReadRva(std::uint64_t rva, std::size_t count) const
    {
        const auto offset = Map(rva, count);
        if (!offset) return std::nullopt;
        return image_.ReadBytes(*offset, count);
    }

private:
    const ImageBytes& image_;
    std::vector<Section> sections_;
};

// The entry of the directory at rva whose numeric id matches; any entry when
// id is empty. Named entries are never matched by id.
std::optional<Directory> FindEntry(const PeImage& pe, std::uint64_t treeRva, std::uint32_t directoryOffset,
                                   std::optional<std::uint32_t> id)
{
    const auto header = pe.ReadRva(treeRva + directoryOffset, 16);
    if (!header) return std::nullopt;
    const std::size_t count = std::size_t{Le16(header->data() + 12)} + Le16(header->data() + 14);
    const auto entries = pe.ReadRva(treeRva + directoryOffset + 16, count * kResourceEntrySize);
    if (!entries) return std::nullopt;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = entries->data() + i * kResourceEntrySize;
        const std::uint32_t nameOrId = Le32(entry);
        const std::uint32_t target = Le32(entry + 4);
        if (id && ((nameOrId & kNamedEntryBit) != 0 || nameOrId != *id)) continue;
        return Directory{target & ~kSubdirectoryBit, (target & kSubdirectoryBit) != 0};
    }
    return std::nullopt;
}

std::optional<std::vector<Section>> ReadSections(const ImageBytes& image, std::uint64_t at, std::size_t count)
{
    const auto table = image.ReadBytes(at, count * kSectionHeaderSize);
    if (!table) return std::nullopt;
    std::vector<Section> sections;
    sections.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* raw = table->data() + i * kSectionHeaderSize;
        const std::uint32_t virtualSize = Le32(raw + 8);
        const std::uint32_t rawSize = Le32(raw + 16);
        // The loader maps no more than the virtual size from the file.
        const std::uint32_t extent = virtualSize == 0 ? rawSize : std::min(virtualSize, rawSize);
        sections.push_back(Section{Le32(raw + 12), extent, Le32(raw + 20)});
    }
    return sections;
}

}  // namespace

std::optional<ImageRange> FindPeVersionResource(const ImageBytes& image)
{
    std::uint8_t dos[64];
    if (!image.Read(0, sizeof dos, dos) || dos[0] != 'M' || dos[1] != 'Z') return std::nullopt;
    const std::uint64_t peHeader = Le32(dos + 0x3C);

    std::uint8_t coff[24];
    if (!image.Read(peHeader, sizeof coff, coff) || std::memcmp(coff, "PE\0\0", 4) != 0) return std::nullopt;
    const std::size_t sectionCount = Le16(coff + 4 + 2);
    const std::size_t optionalSize = Le16(coff + 4 + 16);
    const std::uint64_t optional = peHeader + sizeof coff;

    const auto magic = image.ReadLe16(optional);
    if (!magic || (*magic != 0x10B && *magic != 0x20B)) return std::nullopt;
    const bool pe32Plus = *magic == 0x20B;
    const std::size_t rvaCountAt = pe32Plus ? 108 : 92;
    const std::size_t resourceDirectoryAt = (pe32Plus ? 112 : 96) + 2 * 8;
    const auto rvaCount = image.ReadLe32(optional + rvaCountAt);
    if (!rvaCount || *rvaCount < 3 || optionalSize < resourceDirectoryAt + 8) return std::nullopt;
    const auto treeRva = image.ReadLe32(optional + resourceDirectoryAt);
    if (!treeRva || *treeRva == 0) return std::nullopt;

    auto sections = ReadSections(image, optional + optionalSize, sectionCount);
    if (!sections) return std::nullopt;
    const PeImage pe(image, std::move(*sections));

    const auto type = FindEntry(pe, *treeRva, 0, kTypeVersion);
    if (!type || !type->isSubdirectory) return std::nullopt;
    const auto name = FindEntry(pe, *treeRva, type->offset, kVersionInfoName);
    if (!name || !name->isSubdirectory) return std::nullopt;
    const auto language = FindEntry(pe, *treeRva, name->offset, std::nullopt);
    if (!language || language->isSubdirectory) return std::nullopt;

    const auto dataEntry = pe.ReadRva(std::uint64_t{*treeRva} + language->offset, 16);
    if (!dataEntry) return std::nullopt;
    const std::uint32_t dataRva = Le32(dataEntry->data());
    const std::uint32_t dataSize = Le32(dataEntry->data() + 4);
    if (dataSize == 0) return std::nullopt;
    const auto offset = pe.Map(dataRva, dataSize);
    if (!offset) return std::nullopt;
    return ImageRange{*offset, dataSize};
}

}  // namespace utils
