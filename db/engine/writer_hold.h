#pragma once
// Keeping other programs from writing a catalogue file while it is replaced.

#include <string>

#include "db/engine/sqlite_handle.h"

namespace engine {

// A write transaction, never used, on a connection of its own: until it is
// destroyed other processes may read the file but not begin a write, while
// connections of this process may still read it (SQLite keeps one lock per file
// for a whole process). Waits up to the busy timeout for a writer that has the
// file; EngineError when it cannot be had. Destruction rolls the empty
// transaction back and closes the connection.
class WriterHold {
public:
    explicit WriterHold(const std::string& path);

private:
    detail::SqliteHandle db_;
};

}  // namespace engine
