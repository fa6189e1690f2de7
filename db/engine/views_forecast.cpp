// Whether the views and triggers of a file would survive a change of its
// tables, tried on a copy of its structure in memory: the file stays as it is,
// and the answer is the one the change itself would give (ViewsAndTriggers).

#include "db/engine/database_file.h"
#include "db/engine/name_collation.h"
#include "db/engine/schema.h"
#include "db/engine/table_schema.h"
#include "db/engine/views_and_triggers.h"

#include <utility>
#include <vector>

namespace engine {
namespace {

struct SchemaEntry {
    std::string type;
    std::string name;
    std::string sql;
};

std::vector<SchemaEntry> schemaOf(sqlite3* db)
{
    std::vector<SchemaEntry> entries;
    detail::Statement query(db,
                            "SELECT type, name, sql FROM sqlite_schema WHERE type IN ('table', 'view', 'trigger') "
                            "AND sql IS NOT NULL AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY rowid");
    detail::StatementUse use(query);
    while (query.step()) entries.push_back({query.columnString(0), query.columnString(1), query.columnString(2)});
    return entries;
}

bool exists(sqlite3* db, const std::string& name)
{
    detail::Statement query(db, "SELECT 1 FROM sqlite_schema WHERE name = ?1 COLLATE NOCASE");
    detail::StatementUse use(query);
    query.bindText(1, name);
    return query.step();
}

// The structure of the file in memory, tables first; false when a part of it
// cannot be made there (a module or function of another tool).
bool copyStructure(sqlite3* model, const std::vector<SchemaEntry>& entries)
{
    for (const bool tables : {true, false}) {
        for (const auto& entry : entries) {
            if ((entry.type == "table") != tables) continue;
            // A virtual table makes its own shadow tables.
            if (tables && exists(model, entry.name)) continue;
            if (sqlite3_exec(model, entry.sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
                // A view or trigger that cannot be made did not work before either.
                if (tables) return false;
            }
        }
    }
    return true;
}

}  // namespace

std::optional<std::pair<std::size_t, ViewOrTriggerBroken>> Database::forecastViewsAndTriggers(
    const std::vector<TableShape>& shapes) const
{
    if (!file_) throw EngineError("The database is closed.");
    const auto entries = schemaOf(file_->handle());
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    const detail::SqliteHandle model(raw);
    if (rc != SQLITE_OK) detail::throwSqliteError(model.get(), rc);
    // As the file's own connection compiles them.
    sqlite3_db_config(model.get(), SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    detail::registerNameCollation(model.get());
    if (!copyStructure(model.get(), entries)) return std::nullopt;

    detail::StatementCache cache(model.get());
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const auto& shape = shapes[i];
        // A view under the table's name cannot take a shape: the change itself fails on it.
        if (!detail::tableExists(cache, shape.table)) return std::nullopt;
        detail::ViewsAndTriggers aside;
        aside.setAside(cache);
        std::string columns;
        for (const auto& field : shape.fields)
            columns += (columns.empty() ? "" : ", ") + detail::quoteIdentifier(field);
        const std::string table = detail::quoteIdentifier(shape.table);
        cache.exec("DROP TABLE " + table);
        cache.exec("CREATE TABLE " + table + " (" + columns.append(")"));
        try {
            aside.restore(cache);
        } catch (const ViewOrTriggerBroken& broken) {
            return std::make_pair(i, broken);
        }
    }
    return std::nullopt;
}

}  // namespace engine
