#pragma once
#include <string_view>

namespace utils {

// Windows-style mask match: '*' any run of characters, '?' exactly one,
// letter case ignored (Unicode aware; names are UTF-8).
bool MatchesFileMask(std::string_view name, std::string_view mask);

// Order of names as an NTFS folder returns them: upper-cased UTF-16 units.
bool FileNameLess(std::string_view a, std::string_view b);

}  // namespace utils
