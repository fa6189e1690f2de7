#pragma once
#include <optional>
#include <string_view>

#include "app/files/image_bytes.h"
#include "app/files/image_range.h"

namespace utils {

// The section in which vk_embed_version_resource() places the program's
// version resource.
inline constexpr std::string_view kVersionSectionName = ".vk_version";

// File range of the first section with the given name in an ELF image (32 or
// 64 bit, either byte order); nothing when the image is no ELF file, is
// damaged, or has no such section with data in the file.
std::optional<ImageRange> FindElfSection(const ImageBytes& image, std::string_view name);

}  // namespace utils
