#pragma once
// The one SQLite connection of a catalogue file in this process. Connections,
// databases and recordsets on the same file share it, so a transaction begun
// on one covers the changes made through all of them.

#include <memory>
#include <string>
#include <vector>

#include "db/engine/deferred_indexes.h"
#include "db/engine/file_rewrite.h"
#include "db/engine/sqlite_handle.h"
#include "db/engine/views_and_triggers.h"

namespace engine {

namespace detail {
class RowSource;
}  // namespace detail

class DatabaseFile {
public:
    // The open file of this path, or a newly opened one.
    static std::shared_ptr<DatabaseFile> open(const std::string& path);
    // True while an object of this process holds the file.
    static bool isOpen(const std::string& path);

    ~DatabaseFile();
    DatabaseFile(const DatabaseFile&) = delete;
    DatabaseFile& operator=(const DatabaseFile&) = delete;

    const std::string& path() const { return path_; }
    sqlite3* handle() const { return db_.get(); }
    // The connection that holds a table's rows: the new file's for a table
    // emptied while the file is written anew, otherwise handle().
    sqlite3* rowsHandle(const std::string& table) const;
    // For reading and changing the structure: first builds the indexes put off
    // while rows were appended.
    detail::StatementCache& statements();

    void beginTransaction();
    // A transaction whose commit writes the file anew where newFile says
    // (file_rewrite.h) and puts it in place of the file, which is never written
    // meanwhile; once committed, this object works on the new file.
    void beginTransaction(NewFilePlaceMaker newFile);
    bool writesAnew() const { return rewrite_ != nullptr; }
    void commitTransaction();
    void rollbackTransaction();
    bool inTransaction() const;
    // Rolls back whatever is open; for closing, so it never fails.
    void abandonTransaction() noexcept;

    // Runs any SQL text; afterwards a table left empty loses its hidden
    // columns, which costs nothing then.
    void execute(const std::string& sql);

    // Deletes every row of a user table. Inside the transaction, rows that a
    // recordset still reads from the file are set aside instead (rows_aside.h).
    void emptyTable(const std::string& tableName);

    // The rows recordsets read from the file.
    void registerRowSource(detail::RowSource* source);
    void unregisterRowSource(detail::RowSource* source) noexcept;

    // Indexes whose build waits for a table's rows (deferred_indexes.h): one
    // just made, rows about to be appended.
    void indexMade(const std::string& table, const std::string& index);
    void appendingTo(const std::string& table);

    // The views and triggers that structure changes (detail::StructureChange)
    // have set aside in the open transaction.
    detail::ViewsAndTriggers& viewsAndTriggers() { return viewsAndTriggers_; }
    // Makes them again now and checks them (EngineError when one that worked
    // no longer does, with all still set aside); the commit does it at the latest.
    void restoreViewsAndTriggers();

private:
    DatabaseFile(std::string path, detail::SqliteHandle db);
    void dropHiddenColumnsOfEmptyTables();
    // Reads into memory the rows recordsets read from the table (from every table when empty).
    void holdRowsOf(const std::string& table);
    void endTransaction() noexcept;
    void commitAnew();
    void setAside(const std::string& table);
    // Back to writing in place after a transaction written anew.
    void endWritingAnew() noexcept;
    void prepareConnection();

    std::string path_;
    detail::SqliteHandle db_;
    detail::StatementCache statements_;  // declared after db_: finalized before it closes
    detail::ViewsAndTriggers viewsAndTriggers_;
    // Set from BEGIN to COMMIT or ROLLBACK: SQLite may roll a transaction back by
    // itself (after an I/O error or a full disk), and later writes must not then
    // commit one by one.
    bool transactionOpen_ = false;
    std::vector<detail::RowSource*> rowSources_;
    std::vector<std::string> rowsAside_;  // hidden tables holding emptied tables' rows
    detail::DeferredIndexes deferredIndexes_;
    std::unique_ptr<detail::FileRewrite> rewrite_;
    bool journalInMemory_ = false;
};

}  // namespace engine
