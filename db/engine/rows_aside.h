#pragma once
// Emptying a table whose rows a recordset still reads, inside the file's
// transaction: the table, rows and all, takes a free hidden name ("MSysAside1",
// ...) and an empty table of the same statement and indexes takes its place.
// The rows stay in the file for as long as they are read, at no cost; the
// hidden table is dropped before the transaction commits, and a rollback
// takes it back with everything else.

#include <string>

#include "db/engine/sqlite_handle.h"

namespace engine {
class DatabaseFile;
}  // namespace engine

namespace engine::detail {

// Returns the hidden name the rows now have. The table must be an ordinary one.
// A structure change: the file's views and triggers wait until the commit.
std::string setRowsAside(DatabaseFile& file, const std::string& table);
void dropRowsSetAside(StatementCache& cache, const std::string& aside);
// An ordinary table: not a view, not a virtual table.
bool isOrdinaryTable(StatementCache& cache, const std::string& table);

}  // namespace engine::detail
