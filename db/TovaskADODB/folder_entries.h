#pragma once
// The names in an open folder, and the names of the run's own private folders.

#include <string>
#include <string_view>
#include <vector>

namespace TovaskADODB {

// The names in the folder open as descriptor folder, without "." and "..";
// empty when it cannot be read.
std::vector<std::string> FolderEntryNames(int folder);

// prefix followed by the six letters or digits mkdtemp puts for XXXXXX.
bool IsPrivateFolderName(std::string_view name, std::string_view prefix);

}  // namespace TovaskADODB
