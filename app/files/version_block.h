#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace utils {

// File version from VS_FIXEDFILEINFO: major and minor from the high
// doubleword, release and build from the low one.
struct FixedFileVersion {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint16_t release = 0;
    std::uint16_t build = 0;
    friend bool operator==(const FixedFileVersion&, const FixedFileVersion&) = default;
};

// Reads the fixed file information of a Windows VS_VERSIONINFO block (UTF-16
// key "VS_VERSION_INFO", value aligned to 4 bytes, signature 0xFEEF04BD).
// Nothing when the block is damaged or carries no fixed information.
std::optional<FixedFileVersion> ParseVersionInfo(std::span<const std::uint8_t> block);

// "major.minor.release.build" in plain decimal.
std::string FormatFileVersion(const FixedFileVersion& version);

}  // namespace utils
