#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace utils {

// File version of an executable (ELF with our embedded resource, or Windows PE)
// as "major.minor.release.build"; "0.0.0.0" without a version resource or when
// the file cannot be read; "" for a resource without fixed file information.
std::string GetFileVersionText(const std::string& path);

// The same for the whole content of an executable file held in memory; safe
// on any bytes (the entry point for fuzzing).
std::string GetImageVersionText(std::span<const std::uint8_t> image);

}  // namespace utils
