#include "tools/sample/sqlite_file.h"

#include <sqlite3.h>

namespace sample {

namespace {

[[noreturn]] void fail(sqlite3* db, const std::string& what)
{
    throw SqliteError(what + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

}  // namespace

std::string QuoteIdentifier(std::string_view name)
{
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

SqliteFile::SqliteFile(const std::string& path)
{
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        throw SqliteError("cannot create " + path + ": " + message);
    }
    sqlite3_extended_result_codes(db_, 1);
}

SqliteFile::~SqliteFile()
{
    if (db_) sqlite3_close_v2(db_);
}

void SqliteFile::close()
{
    if (!db_) return;
    if (sqlite3_close(db_) != SQLITE_OK) fail(db_, "close");
    db_ = nullptr;
}

void SqliteFile::exec(const std::string& sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : sqlite3_errmsg(db_);
        sqlite3_free(message);
        throw SqliteError(text + " (in: " + sql.substr(0, 120) + ")");
    }
}

Statement::Statement(SqliteFile& file, const std::string& sql) : file_(file)
{
    if (sqlite3_prepare_v3(file.handle(), sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                           &statement_, nullptr) != SQLITE_OK)
        fail(file.handle(), "prepare " + sql.substr(0, 120));
}

Statement::~Statement()
{
    sqlite3_finalize(statement_);
}

void Statement::bind(int position, const Value& value)
{
    int rc = SQLITE_OK;
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
        rc = sqlite3_bind_int64(statement_, position, *number);
    } else if (const auto* text = std::get_if<std::string>(&value)) {
        rc = sqlite3_bind_text64(statement_, position, text->data(), text->size(), SQLITE_STATIC, SQLITE_UTF8);
    } else {
        rc = sqlite3_bind_null(statement_, position);
    }
    if (rc != SQLITE_OK) fail(file_.handle(), "bind");
}

void Statement::run()
{
    int rc;
    while ((rc = sqlite3_step(statement_)) == SQLITE_ROW) {}
    if (rc != SQLITE_DONE) {
        const std::string message = sqlite3_errmsg(file_.handle());
        sqlite3_reset(statement_);
        throw SqliteError("step: " + message);
    }
    sqlite3_reset(statement_);
}

}  // namespace sample
