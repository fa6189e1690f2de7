#include "db/engine/table_schema.h"

#include "db/engine/case_fold.h"
#include "db/engine/engine_error.h"
#include "db/engine/stored_names.h"

#include <algorithm>

namespace engine::detail {

bool isReservedName(std::string_view name)
{
    return startsWithIgnoringCase(name, stored::systemPrefix);
}

bool isSystemTableName(std::string_view name)
{
    return isReservedName(name) || startsWithIgnoringCase(name, "sqlite_");
}

std::string quoteIdentifier(std::string_view name)
{
    std::string out = "\"";
    for (const char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::vector<std::string> userTableNames(StatementCache& cache)
{
    std::vector<std::pair<std::string, std::string>> named;  // folded, stored
    {
        StatementUse query(cache.get("SELECT name FROM sqlite_schema WHERE type IN ('table', 'view')"));
        while (query->step()) {
            std::string name = query->columnString(0);
            if (!isSystemTableName(name)) named.emplace_back(foldCase(name), std::move(name));
        }
    }
    std::sort(named.begin(), named.end());
    std::vector<std::string> names;
    names.reserve(named.size());
    for (auto& entry : named) names.push_back(std::move(entry.second));
    return names;
}

std::optional<std::string> findUserTable(StatementCache& cache, std::string_view name)
{
    for (auto& table : userTableNames(cache))
        if (equalsIgnoringCase(table, name)) return table;
    return std::nullopt;
}

std::string requireUserTable(StatementCache& cache, std::string_view name)
{
    if (auto table = findUserTable(cache, name)) return *std::move(table);
    throw EngineError("Cannot find the table '" + std::string(name) + "'.");
}

bool tableExists(StatementCache& cache, std::string_view name)
{
    StatementUse query(cache.get("SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = ?1 COLLATE vk_nocase"));
    query->bindText(1, name);
    return query->step();
}

std::string rowidName(const std::vector<ColumnInfo>& columns)
{
    for (const char* alias : {"_rowid_", "rowid", "oid"}) {
        const bool shadowed = std::any_of(columns.begin(), columns.end(),
                                          [&](const auto& c) { return sqlite3_stricmp(c.name.c_str(), alias) == 0; });
        if (!shadowed) return alias;
    }
    return {};
}

std::string schemaSql(StatementCache& cache, const std::string& type, const std::string& name)
{
    StatementUse query(cache.get("SELECT sql FROM sqlite_schema WHERE type = ?1 AND name = ?2"));
    query->bindText(1, type);
    query->bindText(2, name);
    return query->step() ? query->columnString(0) : std::string();
}

std::vector<ColumnInfo> tableColumns(StatementCache& cache, const std::string& table)
{
    std::vector<ColumnInfo> columns;
    StatementUse query(cache.get(
        "SELECT name, type, \"notnull\" AND dflt_value IS NULL AND pk = 0 FROM pragma_table_info(?1) ORDER BY cid"));
    query->bindText(1, table);
    while (query->step()) {
        std::string name = query->columnString(0);
        const bool hidden = isReservedName(name);
        columns.push_back({std::move(name), query->columnString(1), hidden, query->columnInteger(2) != 0});
    }
    if (columns.empty()) throw EngineError("Cannot find the table '" + table + "'.");
    return columns;
}

std::vector<FieldInfo> tableFields(StatementCache& cache, const std::string& table)
{
    std::vector<FieldInfo> fields;
    for (auto& column : tableColumns(cache, table))
        if (!column.hidden) fields.push_back({std::move(column.name), kindOfDeclaredType(column.declaredType)});
    return fields;
}

std::string freeHiddenName(const std::vector<ColumnInfo>& columns)
{
    for (int n = 1;; ++n) {
        std::string name = stored::deletedPrefix + std::to_string(n);
        const bool taken = std::any_of(columns.begin(), columns.end(),
                                       [&](const ColumnInfo& c) { return equalsIgnoringCase(c.name, name); });
        if (!taken) return name;
    }
}

std::vector<IndexInfo> tableIndexes(StatementCache& cache, const std::string& table)
{
    std::vector<IndexInfo> indexes;
    {
        StatementUse query(cache.get(
            "SELECT s.name, l.\"unique\" FROM sqlite_schema AS s JOIN pragma_index_list(?1) AS l ON l.name = s.name "
            "WHERE s.type = 'index' ORDER BY s.rowid"));
        query->bindText(1, table);
        const std::string prefix = table + ".";
        while (query->step()) {
            IndexInfo index;
            index.sqliteName = query->columnString(0);
            index.unique = query->columnInteger(1) != 0;
            index.name = startsWithIgnoringCase(index.sqliteName, prefix) && index.sqliteName.size() > prefix.size()
                             ? index.sqliteName.substr(prefix.size())
                             : index.sqliteName;
            indexes.push_back(std::move(index));
        }
    }
    for (auto& index : indexes) {
        StatementUse query(cache.get("SELECT name FROM pragma_index_info(?1) ORDER BY seqno"));
        query->bindText(1, index.sqliteName);
        while (query->step()) index.fields.push_back(query->columnString(0));
    }
    return indexes;
}

bool tableIsEmpty(StatementCache& cache, const std::string& table)
{
    Statement query(cache.db(), "SELECT 1 FROM " + quoteIdentifier(table) + " LIMIT 1");
    StatementUse use(query);
    return !query.step();
}

void dropHiddenColumns(StatementCache& cache, const std::string& table)
{
    if (!tableExists(cache, table)) return;  // a view
    const auto columns = tableColumns(cache, table);
    const auto indexes = tableIndexes(cache, table);
    const auto indexed = [&](const std::string& column) {
        return std::any_of(indexes.begin(), indexes.end(), [&](const IndexInfo& index) {
            return std::any_of(index.fields.begin(), index.fields.end(),
                               [&](const std::string& field) { return equalsIgnoringCase(field, column); });
        });
    };
    const bool anyVisible = std::any_of(columns.begin(), columns.end(), [](const ColumnInfo& c) { return !c.hidden; });
    bool keepOne = !anyVisible;
    for (const auto& column : columns) {
        if (!column.hidden || indexed(column.name)) continue;
        if (keepOne) {
            keepOne = false;
            continue;
        }
        try {
            Savepoint drop(cache.db());
            cache.exec("ALTER TABLE " + quoteIdentifier(table) + " DROP COLUMN " + quoteIdentifier(column.name));
            drop.release();
        } catch (const EngineError& e) {
            // SQLite refuses columns that a view, trigger or constraint names;
            // such a column simply stays hidden. Anything else (a lock, a disk
            // error) is no refusal of this column.
            if ((e.sqliteCode() & 0xFF) != SQLITE_ERROR) throw;
        }
    }
}

}  // namespace engine::detail
