#pragma once
#include <string>
#include <vector>

namespace TovaskADODB {

// Splits a ';'-separated field list into list (cleared first): CR, LF and CR LF end an
// entry too, a separator at the very end adds no entry, two in a row give an empty
// one, and every entry is trimmed of spaces and control characters.
void SplitFieldList(const std::string& text, std::vector<std::string>& list);

}  // namespace TovaskADODB
