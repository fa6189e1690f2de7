#pragma once
#include <cstdint>
#include <string>

namespace TovaskADODB {

inline constexpr const char* ClipboardFormatName = "CF_UCZ";

// Process-wide registration of a named clipboard format: the same name (letter case
// ignored) always gives the same identifier, taken from the private range 0xC000..0xFFFF.
std::uint32_t RegisterClipboardFormat(const std::string& name);

// Registers "CF_UCZ" once at program start and keeps its identifier.
std::uint32_t RegisterCfUczFormat();
// The kept identifier; 0 before RegisterCfUczFormat.
std::uint32_t CfUczFormat();

}  // namespace TovaskADODB
