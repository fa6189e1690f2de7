#pragma once
// Opening an existing catalogue file read/write, with the checks that keep a
// failed open from leaving anything behind.

#include <string>

#include "db/engine/sqlite_handle.h"

namespace engine::detail {

// How long a statement waits for another process's lock before it fails.
constexpr int busyTimeoutMs = 1500;

// The absolute, symlink-free path of an existing file; EngineError otherwise.
std::string canonicalFilePath(const std::string& path);

// The path of a file named name in the folder open as folderDescriptor
// (/proc/self/fd/N/name). SQLite and the kernel reach the file through the
// descriptor, whatever name the folder goes by meanwhile; openCatalogueFile and
// every SQLite connection of the process take such a path as given, never
// turning it into the folder's name.
std::string descriptorPath(int folderDescriptor, const std::string& name);
bool isDescriptorPath(const std::string& path);

// Opens an existing SQLite file read/write in rollback-journal mode, as a file
// of unknown origin: defensive, its schema not trusted, no extensions, the
// engine's name collation registered. Fails (EngineError) for a missing path,
// a directory, an empty or non-SQLite file, a read-only file, or a file
// another process keeps locked.
SqliteHandle openCatalogueFile(const std::string& path);

// Flushes a closed file's contents to the disk.
void syncFile(const std::string& path);

}  // namespace engine::detail
