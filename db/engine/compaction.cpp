#include "db/engine/compaction.h"

#include "db/engine/catalogue_file.h"
#include "db/engine/engine_error.h"
#include "db/engine/table_schema.h"

#include <algorithm>
#include <filesystem>

namespace engine::detail {
namespace {

// Removes a partly written target unless the copy is complete.
class PartialTarget {
public:
    explicit PartialTarget(std::string path) : path_(std::move(path)) {}
    ~PartialTarget()
    {
        if (done_) return;
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
        std::filesystem::remove(path_ + "-journal", ignored);
    }
    PartialTarget(const PartialTarget&) = delete;
    PartialTarget& operator=(const PartialTarget&) = delete;
    void keep() { done_ = true; }

private:
    std::string path_;
    bool done_ = false;
};

bool hasHiddenColumns(StatementCache& statements, const std::string& table)
{
    const auto columns = tableColumns(statements, table);
    const auto hidden = std::count_if(columns.begin(), columns.end(), [](const ColumnInfo& c) { return c.hidden; });
    return hidden > 1 || (hidden == 1 && columns.size() > 1);
}

// Returns whether a table lost columns.
bool dropHiddenColumnsOfAllTables(sqlite3* db)
{
    StatementCache statements(db);
    bool dropped = false;
    Savepoint change(db);
    for (const auto& table : userTableNames(statements)) {
        if (!tableExists(statements, table) || !hasHiddenColumns(statements, table)) continue;
        dropHiddenColumns(statements, table);
        dropped = true;
    }
    change.release();
    return dropped;
}

}  // namespace

void compactFile(const std::string& source, const std::string& target)
{
    std::error_code error;
    const std::string targetPath = std::filesystem::absolute(target, error).string();
    if (error || target.empty()) throw EngineError("Invalid target path '" + target + "'.");
    // An empty file the caller made, with the owner and mode the copy is to have, is written into.
    const auto status = std::filesystem::symlink_status(targetPath, error);
    if (std::filesystem::exists(status) &&
        (!std::filesystem::is_regular_file(status) || std::filesystem::file_size(targetPath, error) != 0 || error))
        throw EngineError("The file '" + target + "' already exists.");

    {
        // A connection of its own: no statement of another is open on it and it
        // is in no transaction, as VACUUM INTO requires.
        SqliteHandle sourceDb = openCatalogueFile(source);
        // The copy is synced once, whole, just before it replaces the file. A copy
        // cut short is thrown away, so syncing each of its steps would buy nothing.
        execSql(sourceDb.get(), "PRAGMA synchronous=OFF");
        PartialTarget partial(targetPath);
        {
            Statement vacuum(sourceDb.get(), "VACUUM INTO ?1");
            StatementUse use(vacuum);
            vacuum.bindText(1, targetPath);
            vacuum.step();
        }
        sourceDb.reset();

        SqliteHandle copy = openCatalogueFile(targetPath);
        execSql(copy.get(), "PRAGMA synchronous=OFF");
        if (dropHiddenColumnsOfAllTables(copy.get())) execSql(copy.get(), "VACUUM");
        sqlite3* raw = copy.release();
        if (const int rc = sqlite3_close(raw); rc != SQLITE_OK) {
            sqlite3_close_v2(raw);
            throw EngineError("Cannot close the compacted copy '" + target + "'.", rc);
        }
        syncFile(targetPath);
        partial.keep();
    }
}

}  // namespace engine::detail
