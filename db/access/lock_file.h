#pragma once
#include <string>

namespace accessdb {

// The lock file the other program keeps beside an Access file it has open:
// NAME.ldb for NAME.mdb (any other extension, or none: NAME.ldb too).
std::string lockFilePath(const std::string& accessPath);

// True when that lock file exists and a process holds a lock on it. A lock
// file left behind without a lock (the program ended) is no sign of use.
bool accessFileInUse(const std::string& accessPath);

}  // namespace accessdb
