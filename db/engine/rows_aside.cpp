#include "db/engine/rows_aside.h"

#include "db/engine/case_fold.h"
#include "db/engine/database_file.h"
#include "db/engine/stored_names.h"
#include "db/engine/structure_change.h"
#include "db/engine/table_schema.h"

#include <utility>
#include <vector>

namespace engine::detail {
namespace {

std::string freeAsideName(StatementCache& cache)
{
    for (int n = 1;; ++n) {
        std::string name = stored::asidePrefix + std::to_string(n);
        StatementUse query(cache.get("SELECT 1 FROM sqlite_schema WHERE name = ?1 COLLATE NOCASE"));
        query->bindText(1, name);
        if (!query->step()) return name;
    }
}

// Renames a table without rewriting what other tables' foreign keys name:
// they go on naming the table that takes its place.
class LegacyRename {
public:
    explicit LegacyRename(StatementCache& cache) : cache_(cache) { cache_.exec("PRAGMA legacy_alter_table = ON"); }
    ~LegacyRename() { sqlite3_exec(cache_.db(), "PRAGMA legacy_alter_table = OFF", nullptr, nullptr, nullptr); }
    LegacyRename(const LegacyRename&) = delete;
    LegacyRename& operator=(const LegacyRename&) = delete;

private:
    StatementCache& cache_;
};

}  // namespace

bool isOrdinaryTable(StatementCache& cache, const std::string& table)
{
    const std::string sql = schemaSql(cache, "table", table);
    return startsWithIgnoringCase(sql, "CREATE TABLE");
}

std::string setRowsAside(DatabaseFile& file, const std::string& table)
{
    auto& cache = file.statements();
    std::string aside = freeAsideName(cache);
    const std::string tableSql = schemaSql(cache, "table", table);
    // Index names are the file's, not the table's: they cannot go with the rows.
    std::vector<std::pair<std::string, std::string>> indexes;
    {
        StatementUse query(
            cache.get("SELECT name, sql FROM sqlite_schema WHERE type = 'index' AND tbl_name = ?1 AND sql IS NOT NULL "
                      "ORDER BY rowid"));
        query->bindText(1, table);
        while (query->step()) indexes.emplace_back(query->columnString(0), query->columnString(1));
    }

    StructureChange change(file);
    for (const auto& index : indexes) cache.exec("DROP INDEX " + quoteIdentifier(index.first));
    {
        LegacyRename legacy(cache);
        cache.exec("ALTER TABLE " + quoteIdentifier(table) + " RENAME TO " + quoteIdentifier(aside));
    }
    cache.exec(tableSql);
    for (const auto& index : indexes) cache.exec(index.second);
    if (tableExists(cache, "sqlite_sequence")) {
        // An AUTOINCREMENT table goes on counting where it was, as after a DELETE.
        StatementUse carry(
            cache.get("INSERT INTO sqlite_sequence(name, seq) SELECT ?1, seq FROM sqlite_sequence "
                      "WHERE name = ?2"));
        carry->bindText(1, table);
        carry->bindText(2, aside);
        carry->step();
    }
    dropHiddenColumns(cache, table);
    change.complete();
    return aside;
}

void dropRowsSetAside(StatementCache& cache, const std::string& aside)
{
    cache.exec("DROP TABLE " + quoteIdentifier(aside));
}

}  // namespace engine::detail
