#pragma once
// Writing a catalogue anew instead of changing it in place, inside a
// transaction of the file (DatabaseFile::beginTransaction given a place for the
// new file). The rows of a table emptied in the transaction go straight into
// the new file, and reads and appends of that table go there too. At the
// commit the new file gets every other table as it stands in the transaction,
// each table's indexes once its rows are in, the views and triggers last; it
// is synced once and put in place of the file. The file itself is never
// written: the transaction on it only holds other writers off and keeps the
// structure as the caller changed it.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/engine/catalogue_writer.h"
#include "db/engine/sqlite_handle.h"

namespace engine {

// Where the new file is written and how it replaces the old one; the caller
// beginning the transaction decides (a private folder beside the file).
class NewFilePlace {
public:
    virtual ~NewFilePlace() = default;
    // An empty file, with the owner and mode the new file is to have.
    virtual const std::string& path() const = 0;
    // Puts the written and synced new file in place of the old one, atomically.
    virtual void replaceOriginal() = 0;
};
using NewFilePlaceMaker = std::function<std::unique_ptr<NewFilePlace>()>;

namespace detail {

class FileRewrite {
public:
    explicit FileRewrite(NewFilePlaceMaker maker) : maker_(std::move(maker)) {}
    FileRewrite(const FileRewrite&) = delete;
    FileRewrite& operator=(const FileRewrite&) = delete;

    // The table, empty, is made in the new file as it now stands in the old
    // one; its rows are written there from now on.
    void takeTable(StatementCache& original, const std::string& table);
    // Makes in the new file the unique indexes the table has in the old one
    // and the new file lacks, before rows come: a duplicate fails the append
    // that makes it. The others are built once the rows are in.
    void keepUniqueIndexes(StatementCache& original, const std::string& table);
    // The new file's connection for a table whose rows it holds; null for any other.
    sqlite3* rowsHandle(const std::string& table) const;
    // Writes everything else from the old file as the transaction sees it,
    // then commits, closes and syncs the new file. EngineError if a table
    // taken was given other fields in the old file since.
    void finish(StatementCache& original);
    // After finish: the new file in place of the old one.
    void replaceOriginal();

private:
    void start(StatementCache& original);

    NewFilePlaceMaker maker_;
    std::unique_ptr<NewFilePlace> place_;    // destroyed after the writer: the folder outlives the file
    std::optional<CatalogueWriter> writer_;  // removes an unfinished file
    std::vector<std::string> taken_;
};

}  // namespace detail
}  // namespace engine
