#include "db/TovaskADODB/clipboard_format.h"

#include <mutex>
#include <stdexcept>
#include <vector>

#include "db/TovaskADODB/same_text.h"

namespace TovaskADODB {

namespace {
constexpr std::uint32_t kFirstFormat = 0xC000;
constexpr std::uint32_t kLastFormat = 0xFFFF;

std::uint32_t keptCfUcz = 0;
}  // namespace

std::uint32_t RegisterClipboardFormat(const std::string& name)
{
    static std::mutex guard;
    static std::vector<std::string> names;
    std::lock_guard lock(guard);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (SameText(names[i], name)) return kFirstFormat + static_cast<std::uint32_t>(i);
    if (names.size() > kLastFormat - kFirstFormat) throw std::length_error("No clipboard format identifiers left");
    names.push_back(name);
    return kFirstFormat + static_cast<std::uint32_t>(names.size() - 1);
}

std::uint32_t RegisterCfUczFormat()
{
    keptCfUcz = RegisterClipboardFormat(ClipboardFormatName);
    return keptCfUcz;
}

}  // namespace TovaskADODB
