#include "db/engine/file_rewrite.h"

#include <algorithm>

#include "db/engine/case_fold.h"
#include "db/engine/engine_error.h"
#include "db/engine/stored_names.h"
#include "db/engine/table_schema.h"

namespace engine::detail {
namespace {

struct SchemaEntry {
    std::string type;
    std::string name;
    std::string table;
    std::string sql;
};

// In the order they were made; the entries SQLite makes by itself (no text) left out.
std::vector<SchemaEntry> schemaEntries(sqlite3* db)
{
    Statement query(db, "SELECT type, name, tbl_name, sql FROM sqlite_schema WHERE sql IS NOT NULL ORDER BY rowid");
    StatementUse use(query);
    std::vector<SchemaEntry> entries;
    while (query.step())
        entries.push_back({query.columnString(0), query.columnString(1), query.columnString(2), query.columnString(3)});
    return entries;
}

std::string pragmaValue(sqlite3* db, const std::string& pragma)
{
    Statement query(db, "PRAGMA " + pragma);
    StatementUse use(query);
    return query.step() ? query.columnString(0) : std::string();
}

bool hasIndex(StatementCache& cache, const std::string& index)
{
    return !schemaSql(cache, "index", index).empty();
}

struct Finalizer {
    void operator()(sqlite3_stmt* statement) const noexcept { sqlite3_finalize(statement); }
};
using RawStatement = std::unique_ptr<sqlite3_stmt, Finalizer>;

RawStatement prepare(sqlite3* db, const std::string& sql, bool mayFail = false)
{
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr);
    RawStatement statement(raw);
    if (rc != SQLITE_OK && !mayFail) throwSqliteError(db, rc);
    return rc == SQLITE_OK ? std::move(statement) : RawStatement();
}

// Every row of the query into the statement, each value with its own storage class.
void copyRows(sqlite3* from, sqlite3_stmt* select, sqlite3* to, sqlite3_stmt* insert)
{
    const int count = sqlite3_column_count(select);
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(select)) == SQLITE_ROW) {
        for (int i = 0; i < count; ++i) sqlite3_bind_value(insert, i + 1, sqlite3_column_value(select, i));
        const int done = sqlite3_step(insert);
        sqlite3_reset(insert);
        if (done != SQLITE_DONE) throwSqliteError(to, done);
    }
    if (rc != SQLITE_DONE) throwSqliteError(from, rc);
}

// The rows of a table into its empty namesake in the new file, rowids kept,
// for the columns the new table has.
void carryRows(sqlite3* from, StatementCache& to, const std::string& table)
{
    const auto newColumns = tableColumns(to, table);
    std::string columns;
    for (const auto& column : newColumns) columns += (columns.empty() ? "" : ", ") + quoteIdentifier(column.name);
    const std::string rowid = rowidName(newColumns);
    const std::string quoted = quoteIdentifier(table);
    // A table without rowid (WITHOUT ROWID) keeps its order by its key.
    RawStatement select;
    if (!rowid.empty()) select = prepare(from, "SELECT " + rowid + ", " + columns + " FROM " + quoted, true);
    const bool withRowid = select != nullptr;
    if (!withRowid) select = prepare(from, "SELECT " + columns + " FROM " + quoted);
    std::string values;
    for (std::size_t i = 0; i < newColumns.size() + (withRowid ? 1 : 0); ++i) values += i ? ", ?" : "?";
    const RawStatement insert = prepare(to.db(), "INSERT INTO " + quoted + "(" + (withRowid ? rowid + ", " : "") +
                                                     columns + ") VALUES(" + values + ")");
    copyRows(from, select.get(), to.db(), insert.get());
}

// Every table of the old file but those taken, each with its rows and then
// its indexes, SQLite's counters and statistics, then the views and triggers.
void carryEverythingElse(StatementCache& original, sqlite3* to, const std::vector<SchemaEntry>& entries,
                         const std::function<bool(const std::string&)>& taken)
{
    sqlite3* from = original.db();
    // Its statements end before the new file is closed.
    StatementCache statements(to);
    for (const auto& entry : entries) {
        // SQLite's own tables are made by SQLite; the rows set aside go with the old file.
        if (entry.type != "table" || startsWithIgnoringCase(entry.name, "sqlite_") ||
            startsWithIgnoringCase(entry.name, stored::asidePrefix))
            continue;
        if (startsWithIgnoringCase(entry.sql, "CREATE VIRTUAL TABLE"))
            throw EngineError("The table '" + entry.name + "' is a virtual table, which this program cannot carry.");
        if (taken(entry.name)) {
            if (schemaSql(statements, "table", entry.name) != entry.sql)
                throw EngineError("The fields of the table '" + entry.name + "' changed after its rows were moved.");
        } else {
            execSql(to, entry.sql);
            dropHiddenColumns(statements, entry.name);
            carryRows(from, statements, entry.name);
        }
        // Indexes once their table's rows are in: each built in one pass.
        for (const auto& index : entries)
            if (index.type == "index" && index.table == entry.name && !hasIndex(statements, index.name))
                execSql(to, index.sql);
    }
    // AUTOINCREMENT counters and the planner's statistics, as they stand.
    if (tableExists(original, "sqlite_sequence") && tableExists(statements, "sqlite_sequence")) {
        execSql(to, "DELETE FROM sqlite_sequence");
        const RawStatement select = prepare(from, "SELECT name, seq FROM sqlite_sequence");
        const RawStatement insert = prepare(to, "INSERT INTO sqlite_sequence(name, seq) VALUES(?1, ?2)");
        copyRows(from, select.get(), to, insert.get());
        execSql(to, std::string("DELETE FROM sqlite_sequence WHERE name LIKE '") + stored::asidePrefix + "%'");
    }
    if (tableExists(original, "sqlite_stat1")) {
        execSql(to, "CREATE TABLE IF NOT EXISTS sqlite_stat1(tbl, idx, stat)");
        const RawStatement select = prepare(from, "SELECT tbl, idx, stat FROM sqlite_stat1");
        const RawStatement insert = prepare(to, "INSERT INTO sqlite_stat1(tbl, idx, stat) VALUES(?1, ?2, ?3)");
        copyRows(from, select.get(), to, insert.get());
        execSql(to, std::string("DELETE FROM sqlite_stat1 WHERE tbl LIKE '") + stored::asidePrefix + "%'");
    }
    // Views and triggers last, in their order: they name tables that are all there now.
    for (const auto& entry : entries)
        if (entry.type == "view" || entry.type == "trigger") execSql(to, entry.sql);
}

}  // namespace

void FileRewrite::start(StatementCache& original)
{
    place_ = maker_();
    writer_.emplace(place_->path(),
                    CatalogueWriter::EmptyFileGiven{std::stoi(pragmaValue(original.db(), "page_size"))});
    sqlite3* to = writer_->handle();
    const std::string encoding = pragmaValue(original.db(), "encoding");
    if (encoding != "UTF-8") execSql(to, "PRAGMA encoding = '" + encoding + "'");
    execSql(to, "PRAGMA user_version = " + pragmaValue(original.db(), "user_version") +
                    "; PRAGMA application_id = " + pragmaValue(original.db(), "application_id"));
}

void FileRewrite::takeTable(StatementCache& original, const std::string& table)
{
    if (!writer_) start(original);
    execSql(writer_->handle(), schemaSql(original, "table", table));
    {
        StatementCache statements(writer_->handle());
        dropHiddenColumns(statements, table);
    }
    taken_.push_back(table);
    keepUniqueIndexes(original, table);
}

void FileRewrite::keepUniqueIndexes(StatementCache& original, const std::string& table)
{
    sqlite3* to = rowsHandle(table);
    if (!to) return;
    StatementCache statements(to);
    for (const auto& entry : schemaEntries(original.db()))
        if (entry.type == "index" && entry.table == table && startsWithIgnoringCase(entry.sql, "CREATE UNIQUE") &&
            !hasIndex(statements, entry.name))
            execSql(to, entry.sql);
}

sqlite3* FileRewrite::rowsHandle(const std::string& table) const
{
    if (!writer_) return nullptr;
    const bool taken =
        std::any_of(taken_.begin(), taken_.end(), [&](const std::string& t) { return equalsIgnoringCase(t, table); });
    return taken ? writer_->handle() : nullptr;
}

void FileRewrite::finish(StatementCache& original)
{
    if (!writer_) start(original);
    const auto entries = schemaEntries(original.db());
    carryEverythingElse(original, writer_->handle(), entries,
                        [this](const std::string& table) { return rowsHandle(table) != nullptr; });
    writer_->finish();
}

void FileRewrite::replaceOriginal()
{
    if (!place_) throw EngineError("No new file has been written.");
    place_->replaceOriginal();
}

}  // namespace engine::detail
