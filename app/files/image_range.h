#pragma once
#include <cstdint>

namespace utils {

// A run of bytes inside an executable image, by file offset.
struct ImageRange {
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
};

}  // namespace utils
