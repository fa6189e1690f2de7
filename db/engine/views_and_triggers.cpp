#include "db/engine/views_and_triggers.h"

#include "db/engine/engine_error.h"
#include "db/engine/table_schema.h"

#include <map>
#include <optional>

namespace engine::detail {
namespace {

// A plain error is about the statement or the schema; a lock or a disk error is not.
bool isPlainError(const EngineError& e)
{
    return e.sqliteCode() == 0 || (e.sqliteCode() & 0xFF) == SQLITE_ERROR;
}

// SQLite's reason when the statement does not compile; nullopt when it does.
std::optional<std::string> compileError(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr);
    std::optional<std::string> reason;
    if (rc != SQLITE_OK) reason = sqlite3_errmsg(db);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_OK && (rc & 0xFF) != SQLITE_ERROR) throw EngineError(*reason, rc);
    return reason;
}

std::string viewQuery(const std::string& view)
{
    return "SELECT * FROM " + quoteIdentifier(view);
}

// INSERT, UPDATE and DELETE on a trigger's table: compiling them compiles its
// triggers. The reason instead when the table's columns cannot be read (a
// broken view under INSTEAD OF triggers).
using FiringStatements = std::array<std::string, 3>;
FiringStatements firingStatements(StatementCache& cache, const std::string& table, std::string& reason)
{
    std::string assignments;
    try {
        for (const auto& column : tableColumns(cache, table)) {
            const std::string name = quoteIdentifier(column.name);
            if (!assignments.empty()) assignments += ", ";
            assignments.append(name).append(" = ").append(name);
        }
    } catch (const EngineError& e) {
        if (!isPlainError(e)) throw;
        reason = e.what();
        return {};
    }
    const std::string quoted = quoteIdentifier(table);
    return {"INSERT INTO " + quoted + " DEFAULT VALUES", "UPDATE " + quoted + " SET " + assignments,
            "DELETE FROM " + quoted};
}

std::array<bool, 3> firingWorks(StatementCache& cache, const std::string& table)
{
    std::array<bool, 3> worked{};
    std::string reason;
    const auto statements = firingStatements(cache, table, reason);
    if (reason.empty())
        for (std::size_t i = 0; i < statements.size(); ++i) worked[i] = !compileError(cache.db(), statements[i]);
    return worked;
}

[[noreturn]] void noLongerWorks(bool isView, const std::string& name, const std::string& reason)
{
    throw ViewOrTriggerBroken(isView, name, reason);
}

}  // namespace

void ViewsAndTriggers::setAside(StatementCache& cache)
{
    std::vector<Entry> found;
    {
        StatementUse query(
            cache.get("SELECT type, name, tbl_name, sql FROM sqlite_schema WHERE type IN ('view', 'trigger') "
                      "ORDER BY rowid"));
        while (query->step())
            found.push_back({query->columnText(0) == "view", query->columnString(1), query->columnString(2),
                             query->columnString(3)});
    }
    // Noted before anything is dropped: dropping a view breaks the views on it.
    std::map<std::string, std::array<bool, 3>> tablesWorked;
    for (auto& entry : found) {
        if (entry.isView) {
            entry.worked[0] = !compileError(cache.db(), viewQuery(entry.name));
            continue;
        }
        auto it = tablesWorked.find(entry.table);
        if (it == tablesWorked.end()) it = tablesWorked.emplace(entry.table, firingWorks(cache, entry.table)).first;
        entry.worked = it->second;
    }
    // Triggers first: dropping a view drops the triggers on it.
    for (const bool views : {false, true})
        for (const auto& entry : found)
            if (entry.isView == views)
                cache.exec(std::string(views ? "DROP VIEW " : "DROP TRIGGER ") + quoteIdentifier(entry.name));
    entries_.insert(entries_.end(), found.begin(), found.end());
}

void ViewsAndTriggers::restore(StatementCache& cache)
{
    if (entries_.empty()) return;
    Savepoint restoring(cache.db());
    // Views may name views made after them: all are made before any is checked.
    for (const auto& entry : entries_)
        if (entry.isView) makeAgain(cache, entry);
    for (const auto& entry : entries_) {
        if (!entry.isView || !entry.worked[0]) continue;
        if (const auto reason = compileError(cache.db(), viewQuery(entry.name)))
            noLongerWorks(true, entry.name, *reason);
    }
    // One trigger at a time, so that a failure belongs to the trigger just made.
    for (const auto& entry : entries_) {
        if (entry.isView) continue;
        makeAgain(cache, entry);
        if (entry.worked == std::array<bool, 3>{}) continue;
        std::string reason;
        const auto statements = firingStatements(cache, entry.table, reason);
        if (!reason.empty()) noLongerWorks(false, entry.name, reason);
        for (std::size_t i = 0; i < statements.size(); ++i) {
            if (!entry.worked[i]) continue;
            if (const auto error = compileError(cache.db(), statements[i])) noLongerWorks(false, entry.name, *error);
        }
    }
    restoring.release();
    entries_.clear();
}

void ViewsAndTriggers::forgetAfter(std::size_t count) noexcept
{
    if (count < entries_.size()) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(count), entries_.end());
}

void ViewsAndTriggers::makeAgain(StatementCache& cache, const Entry& entry)
{
    try {
        cache.exec(entry.sql);
    } catch (const EngineError& e) {
        if (!isPlainError(e)) throw;
        noLongerWorks(entry.isView, entry.name, e.what());
    }
}

}  // namespace engine::detail
