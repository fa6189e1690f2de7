#pragma once
// Just enough of SQLite for writing a new file: an owned connection, one-off
// statements and prepared statements bound from Values.

#include <stdexcept>
#include <string>

#include "tools/sample/field_definition.h"

struct sqlite3;
struct sqlite3_stmt;

namespace sample {

class SqliteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string QuoteIdentifier(std::string_view name);

class SqliteFile {
public:
    // Creates the file when it does not exist.
    explicit SqliteFile(const std::string& path);
    ~SqliteFile();
    SqliteFile(const SqliteFile&) = delete;
    SqliteFile& operator=(const SqliteFile&) = delete;

    void exec(const std::string& sql);
    // Closes now, reporting a failure that the destructor would have to ignore.
    void close();
    sqlite3* handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

class Statement {
public:
    Statement(SqliteFile& file, const std::string& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Texts are not copied: the value must outlive the next run().
    void bind(int position, const Value& value);  // position from 1
    void run();                                   // steps to the end, then resets

private:
    SqliteFile& file_;
    sqlite3_stmt* statement_ = nullptr;
};

}  // namespace sample
