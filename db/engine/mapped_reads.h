#pragma once
// Reading a new catalogue file through memory maps. Building an index reads
// the whole table once more; read a page at a time, each page is copied out of
// the system's cache by its own call, which for a large catalogue costs more
// than the rest of the build. A file opened through this VFS hands SQLite its
// pages straight from a few small mapped windows of the file, so the process
// keeps no more of the file mapped than those windows (its peak memory stays
// small), and every write still goes through the system's calls.
//
// Only for a file that no other process may change while it is open: a file
// cut short under a mapping would end the process. The user's own catalogue is
// never opened so.

namespace engine::detail {

// The VFS's name for sqlite3_open_v2. The files it opens go through the
// process's default VFS at that moment, with reads mapped. The connection must
// set PRAGMA mmap_size above zero for SQLite to ask for mapped pages.
const char* mappedReadsVfs();

}  // namespace engine::detail
