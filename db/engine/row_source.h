#pragma once
// The rows that a recordset and its clones read. A table's rows stay in the
// file and are read a batch at a time in rowid order: the rows that were there
// when the table was opened, and those appended through the recordset since.
// When the table is emptied inside the file's transaction while they are still
// read, the file sets them aside instead of deleting them
// (DatabaseFile::emptyTable). Rows that cannot be found in the file again are
// held in memory instead: a view's, those of a table without rowid, and those
// of a table that a command text is about to change.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "db/engine/compact_rows.h"
#include "db/engine/field_value.h"
#include "db/engine/recordset.h"
#include "db/engine/sqlite_handle.h"

namespace engine {
class DatabaseFile;
}  // namespace engine

namespace engine::detail {

// Rowids appended one after another, in increasing order, kept as runs of
// consecutive ones: a million rows appended take a few bytes, not eight each.
class RowidRuns {
public:
    void add(std::int64_t rowid);  // above every rowid added before
    // visit(rowid) for each rowid above `after`, in order, while it returns true.
    template <class Visit>
    void forEachAfter(std::int64_t after, Visit visit) const
    {
        for (const Run& run : runs_) {
            if (run.first + run.count - 1 <= after) continue;
            for (std::int64_t rowid = std::max(run.first, after + 1); rowid < run.first + run.count; ++rowid)
                if (!visit(rowid)) return;
        }
    }

private:
    struct Run {
        std::int64_t first;
        std::int64_t count;
    };
    std::vector<Run> runs_;
};

class RowSource {
public:
    // The rows of a user table, name compared with letter case ignored.
    RowSource(const std::shared_ptr<DatabaseFile>& file, const std::string& tableName);
    ~RowSource();
    RowSource(const RowSource&) = delete;
    RowSource& operator=(const RowSource&) = delete;

    const std::string& table() const { return table_; }  // the stored table, which appends go to
    const std::vector<RecordsetField>& fields() const { return fields_; }
    const std::vector<FieldRules>& rules() const { return rules_; }
    int rowCount() const { return rowCount_; }
    // The file, while it is open (the rows in it keep it open).
    std::shared_ptr<DatabaseFile> file() const;

    bool held() const { return file_ == nullptr; }
    const CompactRows& heldRows() const { return heldRows_; }
    // Rows in the file, in rowid order, after the row with rowid `after`: a batch of them.
    void readBatch(std::int64_t after, CompactRows& rows, std::vector<std::int64_t>& rowids);
    // The highest rowid of these rows in the file.
    std::int64_t lastRowid() const { return lastRowid_; }

    // Around appending a row to the stored table; stored are its values as stored.
    void beforeAppend();
    void appended(std::int64_t rowid, const std::vector<const Variant*>& stored);

    // The file's side.
    bool readsFrom(const std::string& table) const;
    void rowsMovedTo(const std::string& aside);
    // Reads the rows still in the file into memory and lets the file go.
    void hold();
    // A rollback took the rows set aside.
    void lose() noexcept;

private:
    // skip: a row left out (beforeAnyRowid in the source: none).
    void readRows(std::int64_t after, CompactRows& rows, std::vector<std::int64_t>* rowids, std::size_t maxRows,
                  std::size_t maxBytes, std::int64_t skip);
    void holdExcept(std::int64_t skip);
    void prepareSelect();

    std::weak_ptr<DatabaseFile> weakFile_;
    std::shared_ptr<DatabaseFile> file_;  // while the rows are read from it
    std::string table_;
    std::string rowsTable_;  // where the rows are: the table, or its rows set aside
    bool setAside_ = false;
    bool lost_ = false;
    std::vector<RecordsetField> fields_;
    std::vector<FieldRules> rules_;
    std::vector<FieldKind> kinds_;
    std::vector<int> columnIds_;  // each field's column position, which renaming a column keeps
    int rowCount_ = 0;
    // The rows in the file: those up to rangeEnd_ when the table was opened,
    // and exactly those appended through this source since, in rowid order;
    // rows another recordset appends meanwhile are not among them.
    std::int64_t rangeEnd_ = 0;
    RowidRuns appendedRowids_;
    std::int64_t lastRowid_ = 0;
    CompactRows heldRows_;
    std::unique_ptr<Statement> schemaVersion_;
    std::unique_ptr<Statement> select_;
    std::unique_ptr<Statement> selectOne_;
    std::int64_t selectVersion_ = -1;
};

}  // namespace engine::detail
