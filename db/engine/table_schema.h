#pragma once
// Reading the structure of stored tables: user tables, their columns (fields
// and hidden deleted ones) and their indexes.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/engine/declared_type.h"
#include "db/engine/sqlite_handle.h"

namespace engine::detail {

// Names beginning with "MSys" (any case) are the engine's own: never a user
// table, never a field. Deleted fields wait under such names.
bool isReservedName(std::string_view name);
bool isSystemTableName(std::string_view name);
std::string quoteIdentifier(std::string_view name);

std::vector<std::string> userTableNames(StatementCache& cache);
// The stored spelling of a user table's name, letter case ignored.
std::optional<std::string> findUserTable(StatementCache& cache, std::string_view name);
std::string requireUserTable(StatementCache& cache, std::string_view name);
bool tableExists(StatementCache& cache, std::string_view name);

struct ColumnInfo {
    std::string name;
    std::string declaredType;
    bool hidden;      // a deleted field, or any other reserved name
    bool needsValue;  // NOT NULL without a default: an insert must give it one
};
std::vector<ColumnInfo> tableColumns(StatementCache& cache, const std::string& table);
// The name by which a table's rowid can be asked for; empty when every one is a column's.
std::string rowidName(const std::vector<ColumnInfo>& columns);
// The stored text of a schema entry of a type ("table", "index") and name; empty when there is none.
std::string schemaSql(StatementCache& cache, const std::string& type, const std::string& name);

struct FieldInfo {
    std::string name;
    ColumnKind kind;
};
std::vector<FieldInfo> tableFields(StatementCache& cache, const std::string& table);

// A name for one more hidden column, free among the table's columns.
std::string freeHiddenName(const std::vector<ColumnInfo>& columns);

struct IndexInfo {
    std::string sqliteName;  // "T.I" for the engine's own
    std::string name;        // I
    bool unique;
    std::vector<std::string> fields;
};
// In the order they were created.
std::vector<IndexInfo> tableIndexes(StatementCache& cache, const std::string& table);

bool tableIsEmpty(StatementCache& cache, const std::string& table);
// Drops hidden columns, keeping one when the table would have no column left
// (SQLite cannot drop a table's last column). A column SQLite will not drop
// stays hidden.
void dropHiddenColumns(StatementCache& cache, const std::string& table);

}  // namespace engine::detail
