#pragma once
#include <string_view>

namespace TovaskADODB {

// Names compare as the engine compares them: letter case ignored for ASCII and for
// the Latin letters U+00C0..U+017F (every Polish letter among them).
bool SameText(std::string_view a, std::string_view b);

}  // namespace TovaskADODB
