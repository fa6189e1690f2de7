#pragma once
// RAII over SQLite connections and statements; every failure becomes an EngineError.

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace engine::detail {

struct SqliteCloser {
    void operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
};
using SqliteHandle = std::unique_ptr<sqlite3, SqliteCloser>;

[[noreturn]] void throwSqliteError(sqlite3* db, int code);
void execSql(sqlite3* db, const std::string& sql);

class Statement {
public:
    Statement(sqlite3* db, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // True while a row is available; throws on failure.
    bool step();
    // Ends the current use and drops the bindings; never fails.
    void reset() noexcept;

    void bindNull(int index);
    void bindInteger(int index, std::int64_t value);
    void bindDouble(int index, double value);
    // The text must outlive the next step().
    void bindText(int index, std::string_view value);
    void bindBlob(int index, std::string_view bytes);

    int columnType(int column) const { return sqlite3_column_type(stmt_, column); }
    std::int64_t columnInteger(int column) const { return sqlite3_column_int64(stmt_, column); }
    double columnDouble(int column) const { return sqlite3_column_double(stmt_, column); }
    std::string_view columnText(int column) const;
    std::string columnString(int column) const { return std::string(columnText(column)); }

    sqlite3* db() const { return db_; }

private:
    void checkBind(int code);
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// One use of a statement: resets it on every way out, so that no statement
// stays active (an active statement blocks DROP, ROLLBACK and VACUUM).
class StatementUse {
public:
    explicit StatementUse(Statement& statement) : statement_(statement) {}
    ~StatementUse() { statement_.reset(); }
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;
    Statement* operator->() const { return &statement_; }
    Statement& operator*() const { return statement_; }

private:
    Statement& statement_;
};

// Statements prepared once per connection and reused, keyed by their text.
class StatementCache {
public:
    explicit StatementCache(sqlite3* db) : db_(db) {}
    Statement& get(const std::string& sql);
    sqlite3* db() const { return db_; }
    void exec(const std::string& sql) { execSql(db_, sql); }
    void clear() { statements_.clear(); }

private:
    sqlite3* db_;
    std::unordered_map<std::string, std::unique_ptr<Statement>> statements_;
};

// A nested unit of change that is undone unless released; inside a
// transaction it becomes part of it.
class Savepoint {
public:
    explicit Savepoint(sqlite3* db);
    ~Savepoint();
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;
    // Keeps the change; a second call fails (EngineError).
    void release();

private:
    sqlite3* db_;
    bool done_ = false;
};

}  // namespace engine::detail
