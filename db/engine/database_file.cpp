#include "db/engine/database_file.h"

#include "db/engine/case_fold.h"
#include "db/engine/catalogue_file.h"
#include "db/engine/engine_error.h"
#include "db/engine/row_source.h"
#include "db/engine/rows_aside.h"
#include "db/engine/table_schema.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace engine {
namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, std::weak_ptr<DatabaseFile>> files;  // by canonical path
};

Registry& registry()
{
    static Registry instance;
    return instance;
}

}  // namespace

std::shared_ptr<DatabaseFile> DatabaseFile::open(const std::string& path)
{
    const std::string canonical = detail::canonicalFilePath(path);
    auto& reg = registry();
    std::lock_guard lock(reg.mutex);
    if (auto it = reg.files.find(canonical); it != reg.files.end())
        if (auto file = it->second.lock()) return file;
    std::shared_ptr<DatabaseFile> file(new DatabaseFile(canonical, detail::openCatalogueFile(path)));
    reg.files[canonical] = file;
    return file;
}

bool DatabaseFile::isOpen(const std::string& path)
{
    std::string canonical;
    try {
        canonical = detail::canonicalFilePath(path);
    } catch (const EngineError&) {
        return false;  // a missing file is open nowhere
    }
    auto& reg = registry();
    std::lock_guard lock(reg.mutex);
    const auto it = reg.files.find(canonical);
    return it != reg.files.end() && !it->second.expired();
}

DatabaseFile::DatabaseFile(std::string path, detail::SqliteHandle db)
    : path_(std::move(path)), db_(std::move(db)), statements_(db_.get())
{
    prepareConnection();
}

void DatabaseFile::prepareConnection()
{
    // A commit while a transaction is believed open means SQLite dropped it:
    // refuse it, so the statement fails instead of keeping half an upgrade.
    sqlite3_commit_hook(
        db_.get(), [](void* file) { return static_cast<DatabaseFile*>(file)->transactionOpen_ ? 1 : 0; }, this);
    // SQLite as Debian builds it overwrites every freed page with zeros, which
    // journals and writes each page of an emptied table or dropped index once
    // more. Compaction writes the file anew and the copy replaces it, so the
    // freed pages go anyway.
    detail::execSql(db_.get(), "PRAGMA secure_delete = FAST");
}

DatabaseFile::~DatabaseFile()
{
    statements_.clear();
    auto& reg = registry();
    std::lock_guard lock(reg.mutex);
    // The entry may already name a newer file of the same path.
    if (auto it = reg.files.find(path_); it != reg.files.end() && it->second.expired()) reg.files.erase(it);
}

void DatabaseFile::beginTransaction()
{
    if (inTransaction()) throw EngineError("A transaction is already in progress.");
    // IMMEDIATE: a file another process is writing fails here, not half-way.
    detail::execSql(handle(), "BEGIN IMMEDIATE");
    transactionOpen_ = true;
}

void DatabaseFile::beginTransaction(NewFilePlaceMaker newFile)
{
    if (inTransaction()) throw EngineError("A transaction is already in progress.");
    // The file is never written in this transaction, so that the new file can
    // replace it with no journal of the old one beside it: what the structure
    // changes touch stays in memory (a few pages; the rows go to the new file).
    detail::execSql(handle(), "PRAGMA journal_mode = MEMORY; PRAGMA cache_spill = OFF");
    journalInMemory_ = true;
    try {
        // Held from here to the rename: another program's write comes before
        // the transaction, and so into the new file, or waits until the file is replaced.
        beginTransaction();
    } catch (...) {
        endWritingAnew();
        throw;
    }
    rewrite_ = std::make_unique<detail::FileRewrite>(std::move(newFile));
}

void DatabaseFile::endWritingAnew() noexcept
{
    rewrite_.reset();
    if (!journalInMemory_) return;
    journalInMemory_ = false;
    sqlite3_exec(handle(), "PRAGMA journal_mode = DELETE; PRAGMA cache_spill = ON", nullptr, nullptr, nullptr);
}

sqlite3* DatabaseFile::rowsHandle(const std::string& table) const
{
    if (rewrite_)
        if (sqlite3* rows = rewrite_->rowsHandle(table)) return rows;
    return handle();
}

void DatabaseFile::commitTransaction()
{
    if (!inTransaction()) throw EngineError("No transaction is active.");
    if (sqlite3_get_autocommit(handle()) != 0) {
        endTransaction();
        throw EngineError("The transaction was rolled back after an error.");
    }
    // What waited for the transaction's end comes first; a failure leaves the
    // transaction open for the caller's rollback.
    deferredIndexes_.build(statements_);
    if (rewrite_) {
        commitAnew();
        return;
    }
    for (const auto& aside : rowsAside_) {
        holdRowsOf(aside);
        detail::dropRowsSetAside(statements_, aside);
    }
    rowsAside_.clear();
    restoreViewsAndTriggers();
    transactionOpen_ = false;
    try {
        detail::execSql(handle(), "COMMIT");
    } catch (...) {
        // A failed COMMIT may leave the transaction open for a later ROLLBACK.
        transactionOpen_ = sqlite3_get_autocommit(handle()) == 0;
        throw;
    }
    deferredIndexes_.forget();
}

void DatabaseFile::commitAnew()
{
    restoreViewsAndTriggers();
    // Every reader keeps what it has not read yet: the old file goes, and the
    // new file's connection closes once it is written.
    holdRowsOf({});
    rewrite_->finish(statements_);
    // A failure up to the rename leaves the transaction open for the caller's rollback.
    rewrite_->replaceOriginal();
    // The new file is in place. Nothing of the old one was written: its
    // transaction ends without a trace, and from here on the new file is the one used.
    transactionOpen_ = false;
    rowsAside_.clear();
    viewsAndTriggers_.forgetAfter(0);
    deferredIndexes_.forget();
    statements_.clear();
    sqlite3_exec(handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    endWritingAnew();
    db_ = detail::openCatalogueFile(path_);
    statements_ = detail::StatementCache(db_.get());
    prepareConnection();
}

void DatabaseFile::rollbackTransaction()
{
    if (!inTransaction()) throw EngineError("No transaction is active.");
    endTransaction();
    // Nothing to undo when SQLite has already rolled back by itself.
    if (sqlite3_get_autocommit(handle()) == 0) detail::execSql(handle(), "ROLLBACK");
    endWritingAnew();
}

void DatabaseFile::abandonTransaction() noexcept
{
    endTransaction();
    sqlite3_exec(handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    endWritingAnew();
}

void DatabaseFile::endTransaction() noexcept
{
    transactionOpen_ = false;
    // An unfinished new file is removed with its folder; the old one was never written.
    rewrite_.reset();
    viewsAndTriggers_.forgetAfter(0);
    deferredIndexes_.forget();
    // The rows set aside go with the rollback.
    for (auto* source : rowSources_)
        for (const auto& aside : rowsAside_)
            if (source->readsFrom(aside)) source->lose();
    rowsAside_.clear();
}

bool DatabaseFile::inTransaction() const
{
    return transactionOpen_ || sqlite3_get_autocommit(handle()) == 0;
}

detail::StatementCache& DatabaseFile::statements()
{
    deferredIndexes_.build(statements_);
    return statements_;
}

void DatabaseFile::restoreViewsAndTriggers()
{
    // After the indexes put off, as they were made before.
    viewsAndTriggers_.restore(statements());
}

void DatabaseFile::execute(const std::string& sql)
{
    // A command may change any rows: recordsets keep what they read as it was.
    holdRowsOf({});
    statements();
    detail::execSql(handle(), sql);
    dropHiddenColumnsOfEmptyTables();
}

void DatabaseFile::emptyTable(const std::string& tableName)
{
    auto& cache = statements();
    const std::string table = detail::requireUserTable(cache, tableName);
    if (rewrite_ && transactionOpen_) {
        if (sqlite3* rows = rewrite_->rowsHandle(table)) {
            // Its rows are in the new file already.
            holdRowsOf(table);
            detail::execSql(rows, "DELETE FROM " + detail::quoteIdentifier(table));
            return;
        }
        // Deleting in the old file would hold every page in memory: the rows
        // are set aside there, readers go on reading them, and the table's new
        // rows go to the new file.
        if (detail::isOrdinaryTable(cache, table)) {
            setAside(table);
            rewrite_->takeTable(statements(), table);
            return;
        }
    }
    const bool read = std::any_of(rowSources_.begin(), rowSources_.end(),
                                  [&](const detail::RowSource* source) { return source->readsFrom(table); });
    if (!read || !transactionOpen_ || !detail::isOrdinaryTable(cache, table)) {
        execute("DELETE FROM " + detail::quoteIdentifier(table));
        return;
    }
    setAside(table);
}

void DatabaseFile::setAside(const std::string& table)
{
    const std::string aside = detail::setRowsAside(*this, table);
    rowsAside_.push_back(aside);
    for (auto* source : rowSources_)
        if (source->readsFrom(table)) source->rowsMovedTo(aside);
}

void DatabaseFile::indexMade(const std::string& table, const std::string& index)
{
    if (transactionOpen_) deferredIndexes_.made(table, index);
}

void DatabaseFile::appendingTo(const std::string& table)
{
    deferredIndexes_.putOff(statements(), table);
    if (rewrite_) rewrite_->keepUniqueIndexes(statements_, table);
}

void DatabaseFile::registerRowSource(detail::RowSource* source)
{
    rowSources_.push_back(source);
}

void DatabaseFile::unregisterRowSource(detail::RowSource* source) noexcept
{
    std::erase(rowSources_, source);
}

void DatabaseFile::holdRowsOf(const std::string& table)
{
    // Holding a source takes it off the list.
    const auto sources = rowSources_;
    for (auto* source : sources)
        if (table.empty() || source->readsFrom(table)) source->hold();
}

void DatabaseFile::dropHiddenColumnsOfEmptyTables()
{
    try {
        for (const auto& table : detail::userTableNames(statements_)) {
            if (!detail::tableExists(statements_, table)) continue;  // a view
            const auto columns = detail::tableColumns(statements_, table);
            const auto hidden = std::count_if(columns.begin(), columns.end(), [](const auto& c) { return c.hidden; });
            const bool droppable = hidden > 1 || (hidden == 1 && columns.size() > 1);
            if (!droppable || !detail::tableIsEmpty(statements_, table)) continue;
            detail::Savepoint change(handle());
            detail::dropHiddenColumns(statements_, table);
            change.release();
        }
    } catch (const EngineError&) {
        // Only a saving of space, after the command itself has succeeded (for
        // example another process took the lock in between): the columns stay
        // hidden and go at compaction.
    }
}

}  // namespace engine
