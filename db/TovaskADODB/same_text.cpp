#include "db/TovaskADODB/same_text.h"

#include "db/engine/case_fold.h"

namespace TovaskADODB {

// The components find tables and fields by the engine's own rule.
bool SameText(std::string_view a, std::string_view b)
{
    return engine::detail::equalsIgnoringCase(a, b);
}

}  // namespace TovaskADODB
