#pragma once
// The collation "vk_nocase": names compared as the engine compares them (case
// folded by foldCase), where SQLite's NOCASE folds ASCII letters only. Used in
// the engine's queries, never in a stored schema, so other tools still read
// every file.

#include <sqlite3.h>

namespace engine::detail {

// Registers the collation on a connection; EngineError on failure.
void registerNameCollation(sqlite3* db);

}  // namespace engine::detail
