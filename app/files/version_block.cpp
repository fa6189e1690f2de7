#include "app/files/version_block.h"

#include "app/files/image_bytes.h"

namespace utils {
namespace {

constexpr std::size_t kHeaderSize = 6;  // wLength, wValueLength, wType
constexpr std::size_t kFixedInfoSize = 52;
constexpr std::uint32_t kFixedInfoSignature = 0xFEEF04BD;
constexpr char16_t kRootKey[] = u"VS_VERSION_INFO";

constexpr std::size_t AlignTo4(std::size_t offset)
{
    return (offset + 3) & ~std::size_t{3};
}

}  // namespace

std::optional<FixedFileVersion> ParseVersionInfo(std::span<const std::uint8_t> block)
{
    if (block.size() < kHeaderSize) return std::nullopt;
    const std::size_t length = Le16(block.data());
    const std::size_t valueLength = Le16(block.data() + 2);
    if (length > block.size()) return std::nullopt;

    // The key with its terminating zero, then the value on the next 4-byte boundary.
    std::size_t at = kHeaderSize;
    for (char16_t expected : kRootKey) {  // includes the terminator
        if (at + 2 > length || Le16(block.data() + at) != expected) return std::nullopt;
        at += 2;
    }
    const std::size_t value = AlignTo4(at);
    if (valueLength < kFixedInfoSize || value + kFixedInfoSize > length) return std::nullopt;

    const std::uint8_t* fixed = block.data() + value;
    if (Le32(fixed) != kFixedInfoSignature) return std::nullopt;
    const std::uint32_t high = Le32(fixed + 8);
    const std::uint32_t low = Le32(fixed + 12);
    return FixedFileVersion{static_cast<std::uint16_t>(high >> 16), static_cast<std::uint16_t>(high),
                            static_cast<std::uint16_t>(low >> 16), static_cast<std::uint16_t>(low)};
}

std::string FormatFileVersion(const FixedFileVersion& version)
{
    return std::to_string(version.major) + '.' + std::to_string(version.minor) + '.' + std::to_string(version.release) +
           '.' + std::to_string(version.build);
}

}  // namespace utils
