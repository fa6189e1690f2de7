#pragma once
#include <string>

namespace utils {

// Names of the folder's entries that match mask (letter case ignored), each
// followed by CR LF, in name order with letter case ignored. folder ends in '/'.
// A plain directory is skipped; a missing or unreadable folder gives "".
std::string ListFiles(const std::string& folder, const std::string& mask, bool removeExtensions);

// The name without its last dot and what follows it.
std::string RemoveFileExt(const std::string& fileName);

}  // namespace utils
