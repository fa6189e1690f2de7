#pragma once
#include <optional>

#include "app/files/image_bytes.h"
#include "app/files/image_range.h"

namespace utils {

// File range of the version resource (type RT_VERSION 16, name 1, first
// language) of a Windows PE image, 32 or 64 bit; nothing when the image is no
// PE file, is damaged, or has no version resource.
std::optional<ImageRange> FindPeVersionResource(const ImageBytes& image);

}  // namespace utils
