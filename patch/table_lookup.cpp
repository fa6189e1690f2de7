#include "patch/table_lookup.h"

#include "db/TovaskADODB/same_text.h"

namespace patch {

std::optional<std::string> FindTable(const std::vector<std::string>& names, const std::string& wanted)
{
    for (const auto& name : names)
        if (TovaskADODB::SameText(name, wanted)) return name;
    return std::nullopt;
}

}  // namespace patch
