#pragma once
// A catalogue file opened with SQLite alone, outside the engine, to prepare a
// file for a test or to read what a run left in it. The handle closes with the
// object; every failure throws.

#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace test_support {

// A value as text; a null is nullopt.
using Cell = std::optional<std::string>;
using Rows = std::vector<std::vector<Cell>>;

class SqliteFile {
public:
    enum class Mode { ReadOnly, ReadWrite, Create };

    explicit SqliteFile(const std::string& path, Mode mode = Mode::ReadOnly);
    ~SqliteFile();
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    sqlite3* handle() const { return db_; }

    // Runs one or more statements.
    void exec(const std::string& sql);
    // Every row of a query.
    Rows rows(const std::string& sql) const;
    // The first column of every row.
    std::vector<Cell> column(const std::string& sql) const;
    // The first column of the first row; a query without a row throws.
    Cell scalar(const std::string& sql) const;
    // Every table's, index's, view's and trigger's definition, and every table's
    // rows with their storage classes, to compare a file with itself.
    std::string dump() const;
    // SQLite's own integrity check: "ok" for a sound file.
    std::string integrityCheck() const;

private:
    std::string path_;
    sqlite3* db_ = nullptr;
};

// The same, each on its own short-lived handle.
std::string DumpContent(const std::string& path);
Rows QueryRows(const std::string& path, const std::string& sql);
std::vector<Cell> QueryColumn(const std::string& path, const std::string& sql);
Cell QueryValue(const std::string& path, const std::string& sql);
void ExecuteSql(const std::string& path, const std::string& sql);
std::string IntegrityCheck(const std::string& path);

}  // namespace test_support
