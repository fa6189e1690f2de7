#pragma once
// The names in an open folder, the names of the run's own private folders,
// and whether a file is still the one examined.

#include <sys/stat.h>

#include <string>
#include <string_view>
#include <vector>

#include "db/TovaskADODB/file_descriptor.h"

namespace TovaskADODB {

// The names in the folder open as descriptor folder, without "." and "..";
// empty when it cannot be read.
std::vector<std::string> FolderEntryNames(int folder);

// prefix followed by the six letters or digits mkdtemp puts for XXXXXX.
bool IsPrivateFolderName(std::string_view name, std::string_view prefix);

// The folder name in parent, opened and locked, when it is a real folder of
// this user with exactly mode and no process holds its lock (a lock dies with
// its process): a killed run's leftover. Not valid otherwise. info gets its status.
FileDescriptor LockLeftoverFolder(int parent, const std::string& name, mode_t mode, struct stat& info);

// Removes the empty folder name in parent, only when it is still the one
// examined, should another have taken its name meanwhile.
void RemoveFolderIfSame(int parent, const std::string& name, const struct stat& examined) noexcept;

// The same file, unchanged as far as its status tells: device, inode, size
// and modification time.
bool SameFileState(const struct stat& a, const struct stat& b);

}  // namespace TovaskADODB
