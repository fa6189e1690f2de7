#pragma once
#include <cstdint>
#include <string>

namespace TovaskADODB {

// Registered at program start as the design asks; nothing reads it, here or in
// any other program on this platform.
inline constexpr const char* ClipboardFormatName = "CF_UCZ";

// Process-wide registration of a named clipboard format: the same name (letter case
// ignored) always gives the same identifier, taken from the private range 0xC000..0xFFFF.
std::uint32_t RegisterClipboardFormat(const std::string& name);

// Registers "CF_UCZ" once at program start and keeps its identifier.
std::uint32_t RegisterCfUczFormat();

}  // namespace TovaskADODB
