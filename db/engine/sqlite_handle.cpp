#include "db/engine/sqlite_handle.h"

#include "db/engine/engine_error.h"

#include <climits>

namespace engine::detail {

void throwSqliteError(sqlite3* db, int code)
{
    const char* message = db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    const int extended = db ? sqlite3_extended_errcode(db) : code;
    // SQLite keeps the system's errno only for failed opens and I/O.
    const int primary = extended & 0xFF;
    const int systemErrno =
        db && (primary == SQLITE_CANTOPEN || primary == SQLITE_IOERR) ? sqlite3_system_errno(db) : 0;
    throw EngineError(message ? message : "SQLite error", extended, systemErrno);
}

void execSql(sqlite3* db, const std::string& sql)
{
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) throwSqliteError(db, rc);
}

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db)
{
    if (sql.size() > INT_MAX) throw EngineError("Statement too long.");
    const int rc =
        sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        throwSqliteError(db, rc);
    }
    if (!stmt_) throw EngineError("Empty statement.");
}

Statement::~Statement()
{
    sqlite3_finalize(stmt_);
}

bool Statement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    throwSqliteError(db_, rc);
}

void Statement::reset() noexcept
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

void Statement::checkBind(int code)
{
    if (code != SQLITE_OK) throwSqliteError(db_, code);
}

void Statement::bindNull(int index)
{
    checkBind(sqlite3_bind_null(stmt_, index));
}

void Statement::bindInteger(int index, std::int64_t value)
{
    checkBind(sqlite3_bind_int64(stmt_, index, value));
}

void Statement::bindDouble(int index, double value)
{
    checkBind(sqlite3_bind_double(stmt_, index, value));
}

void Statement::bindText(int index, std::string_view value)
{
    checkBind(sqlite3_bind_text64(stmt_, index, value.data(), value.size(), SQLITE_STATIC, SQLITE_UTF8));
}

void Statement::bindBlob(int index, std::string_view bytes)
{
    checkBind(sqlite3_bind_blob64(stmt_, index, bytes.data(), bytes.size(), SQLITE_STATIC));
}

std::string_view Statement::columnText(int column) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    if (!text) return {};
    return {text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))};
}

Statement& StatementCache::get(const std::string& sql)
{
    auto& slot = statements_[sql];
    if (!slot) slot = std::make_unique<Statement>(db_, sql);
    return *slot;
}

Savepoint::Savepoint(sqlite3* db) : db_(db)
{
    execSql(db_, "SAVEPOINT vk_change");
}

Savepoint::~Savepoint()
{
    if (done_) return;
    // Undoing may itself fail when SQLite has already rolled the whole
    // transaction back; there is nothing left to undo then.
    sqlite3_exec(db_, "ROLLBACK TO vk_change; RELEASE vk_change", nullptr, nullptr, nullptr);
}

void Savepoint::release()
{
    // A second release would end an enclosing savepoint of the same name.
    if (done_) throw EngineError("Savepoint already released.");
    execSql(db_, "RELEASE vk_change");
    done_ = true;
}

}  // namespace engine::detail
