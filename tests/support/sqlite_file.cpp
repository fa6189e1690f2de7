#include "tests/support/sqlite_file.h"

#include <sqlite3.h>

#include <memory>
#include <stdexcept>

namespace test_support {

namespace {

struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

int FlagsOf(SqliteFile::Mode mode)
{
    switch (mode) {
    case SqliteFile::Mode::ReadOnly: return SQLITE_OPEN_READONLY;
    case SqliteFile::Mode::ReadWrite: return SQLITE_OPEN_READWRITE;
    case SqliteFile::Mode::Create: return SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    }
    return SQLITE_OPEN_READONLY;
}

// Calls row with the statement at every row of sql.
template <typename Row>
void Step(sqlite3* db, const std::string& sql, Row&& row)
{
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string(sqlite3_errmsg(db)) + " in " + sql);
    const Statement statement(raw);
    for (;;) {
        const int rc = sqlite3_step(raw);
        if (rc == SQLITE_DONE) return;
        if (rc != SQLITE_ROW) throw std::runtime_error(std::string(sqlite3_errmsg(db)) + " in " + sql);
        row(raw);
    }
}

Cell CellOf(sqlite3_stmt* statement, int column)
{
    if (sqlite3_column_type(statement, column) == SQLITE_NULL) return std::nullopt;
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
}

// A value with its storage class, so that 1 and '1' differ in a dump.
std::string TypedCellOf(sqlite3_stmt* statement, int column)
{
    const int type = sqlite3_column_type(statement, column);
    if (type == SQLITE_NULL) return "<null>";
    return std::to_string(type) + ":" + reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
}

std::string Quoted(const std::string& name)
{
    std::string quoted = "\"";
    for (char c : name) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace

SqliteFile::SqliteFile(const std::string& path, Mode mode) : path_(path)
{
    const int rc = sqlite3_open_v2(path.c_str(), &db_, FlagsOf(mode), nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        throw std::runtime_error("cannot open " + path + ": " + message);
    }
}

SqliteFile::~SqliteFile()
{
    sqlite3_close(db_);
}

void SqliteFile::exec(const std::string& sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : sqlite3_errmsg(db_);
        sqlite3_free(message);
        throw std::runtime_error(path_ + ": " + text);
    }
}

Rows SqliteFile::rows(const std::string& sql) const
{
    Rows rows;
    Step(db_, sql, [&rows](sqlite3_stmt* statement) {
        std::vector<Cell> row;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) row.push_back(CellOf(statement, i));
        rows.push_back(std::move(row));
    });
    return rows;
}

std::vector<Cell> SqliteFile::column(const std::string& sql) const
{
    std::vector<Cell> cells;
    Step(db_, sql, [&cells](sqlite3_stmt* statement) { cells.push_back(CellOf(statement, 0)); });
    return cells;
}

Cell SqliteFile::scalar(const std::string& sql) const
{
    const auto cells = column(sql);
    if (cells.empty()) throw std::runtime_error("no row from " + sql);
    return cells.front();
}

std::string SqliteFile::dump() const
{
    struct Object {
        std::string line;
        std::optional<std::string> table;
    };
    std::vector<Object> objects;
    Step(db_, "SELECT type, name, sql FROM sqlite_master ORDER BY type, name", [&objects](sqlite3_stmt* statement) {
        Object object;
        for (int i = 0; i < 3; ++i) object.line += TypedCellOf(statement, i) + " | ";
        if (TypedCellOf(statement, 0) == "3:table") object.table = CellOf(statement, 1).value_or("");
        objects.push_back(std::move(object));
    });
    std::string dump;
    for (const auto& object : objects) {
        dump += object.line + "\n";
        if (!object.table) continue;
        Step(db_, "SELECT * FROM " + Quoted(*object.table) + " ORDER BY rowid", [&dump](sqlite3_stmt* statement) {
            dump += "  ";
            for (int i = 0; i < sqlite3_column_count(statement); ++i) dump += TypedCellOf(statement, i) + " | ";
            dump += "\n";
        });
    }
    return dump;
}

std::string SqliteFile::integrityCheck() const
{
    return scalar("PRAGMA integrity_check").value_or("");
}

std::string DumpContent(const std::string& path)
{
    return SqliteFile(path).dump();
}

Rows QueryRows(const std::string& path, const std::string& sql)
{
    return SqliteFile(path).rows(sql);
}

std::vector<Cell> QueryColumn(const std::string& path, const std::string& sql)
{
    return SqliteFile(path).column(sql);
}

Cell QueryValue(const std::string& path, const std::string& sql)
{
    return SqliteFile(path).scalar(sql);
}

void ExecuteSql(const std::string& path, const std::string& sql)
{
    SqliteFile(path, SqliteFile::Mode::ReadWrite).exec(sql);
}

std::string IntegrityCheck(const std::string& path)
{
    return SqliteFile(path).integrityCheck();
}

}  // namespace test_support
