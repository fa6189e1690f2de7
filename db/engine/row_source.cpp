#include "db/engine/row_source.h"

#include "db/engine/case_fold.h"
#include "db/engine/database_file.h"
#include "db/engine/declared_type.h"
#include "db/engine/engine_error.h"
#include "db/engine/msys_catalog.h"
#include "db/engine/table_schema.h"

#include <limits>

namespace engine::detail {
namespace {

constexpr std::int64_t beforeAnyRowid = std::numeric_limits<std::int64_t>::min();
// A batch: enough rows to make a query per batch cheap, few enough bytes to stay small.
constexpr std::size_t batchRows = 256;
constexpr std::size_t batchBytes = 1 << 20;

[[noreturn]] void rowGone()
{
    throw EngineError("Either BOF or EOF is True, or the current record has been deleted.");
}

}  // namespace

RowSource::RowSource(const std::shared_ptr<DatabaseFile>& file, const std::string& tableName) : weakFile_(file)
{
    auto& statements = file->statements();
    table_ = requireUserTable(statements, tableName);
    rowsTable_ = table_;
    const auto columns = tableColumns(statements, table_);
    std::string names;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const auto& column = columns[i];
        if (column.hidden) continue;
        const auto kind = kindOfDeclaredType(column.declaredType);
        const auto properties = fieldProperties(statements, table_, column.name);
        fields_.push_back({column.name, kind.kind, kind.size});
        rules_.push_back({table_, column.name, kind.kind, kind.size, properties.required, properties.allowZeroLength});
        kinds_.push_back(kind.kind);
        columnIds_.push_back(static_cast<int>(i));
        names += (names.empty() ? "" : ", ") + quoteIdentifier(column.name);
    }

    const std::string rowid = rowidName(columns);
    if (!rowid.empty()) {
        const std::string table = quoteIdentifier(table_);
        std::unique_ptr<Statement> count;
        try {
            count = std::make_unique<Statement>(
                file->rowsHandle(table_),
                "SELECT (SELECT count(*) FROM " + table + "), (SELECT max(" + rowid + ") FROM " + table + ")");
        } catch (const EngineError&) {
            // Views and WITHOUT ROWID tables have no rowid.
        }
        if (count) {
            StatementUse use(*count);
            count->step();
            rowCount_ = static_cast<int>(count->columnInteger(0));
            lastRowid_ = count->columnType(1) == SQLITE_NULL ? beforeAnyRowid : count->columnInteger(1);
            rangeEnd_ = lastRowid_;
            schemaVersion_ = std::make_unique<Statement>(file->rowsHandle(table_), "PRAGMA schema_version");
            file_ = file;
            file_->registerRowSource(this);
            return;
        }
    }
    // Nothing to find a row again by: all of them are read now, as they come.
    Statement select(file->rowsHandle(table_),
                     "SELECT " + (names.empty() ? std::string("1") : names) + " FROM " + quoteIdentifier(table_));
    StatementUse use(select);
    while (select.step()) heldRows_.appendFrom(select, 0, kinds_);
    rowCount_ = heldRows_.size();
}

RowSource::~RowSource()
{
    if (file_) file_->unregisterRowSource(this);
}

std::shared_ptr<DatabaseFile> RowSource::file() const
{
    return weakFile_.lock();
}

void RowSource::prepareSelect()
{
    // A cache of its own: the file's would first build the indexes put off while rows are appended.
    // Where the rows are: the new file holds a table's while the file is written anew.
    sqlite3* rows = file_->rowsHandle(rowsTable_);
    StatementCache statements(rows);
    const auto columns = tableColumns(statements, rowsTable_);
    const std::string rowid = rowidName(columns);
    if (rowid.empty()) rowGone();
    std::string sql = "SELECT " + rowid;
    for (const int id : columnIds_) {
        if (static_cast<std::size_t>(id) >= columns.size()) rowGone();
        sql += ", " + quoteIdentifier(columns[static_cast<std::size_t>(id)].name);
    }
    sql += " FROM " + quoteIdentifier(rowsTable_) + " WHERE " + rowid;
    select_.reset();
    selectOne_.reset();
    select_ = std::make_unique<Statement>(rows, sql + " > ?1 AND " + rowid + " <= ?2 ORDER BY " + rowid);
    selectOne_ = std::make_unique<Statement>(rows, sql + " = ?1");
}

void RowSource::readRows(std::int64_t after, CompactRows& rows, std::vector<std::int64_t>* rowids, std::size_t maxRows,
                         std::size_t maxBytes, std::int64_t skip)
{
    if (lost_) throw EngineError("The rows of the table '" + table_ + "' went with the transaction rolled back.");
    std::int64_t version = 0;
    {
        StatementUse use(*schemaVersion_);
        schemaVersion_->step();
        version = schemaVersion_->columnInteger(0);
    }
    // Renamed fields, a table set aside: the columns are found again by position.
    if (version != selectVersion_ || !select_) {
        prepareSelect();
        selectVersion_ = version;
    }
    const auto full = [&] { return static_cast<std::size_t>(rows.size()) >= maxRows || rows.bytes() >= maxBytes; };
    if (after < rangeEnd_) {
        StatementUse use(*select_);
        select_->bindInteger(1, after);
        select_->bindInteger(2, rangeEnd_);
        while (!full() && select_->step()) {
            const std::int64_t rowid = select_->columnInteger(0);
            if (rowid == skip) continue;
            if (rowids) rowids->push_back(rowid);
            rows.appendFrom(*select_, 1, kinds_);
        }
    }
    appendedRowids_.forEachAfter(after, [&](std::int64_t rowid) {
        if (full()) return false;
        if (rowid == skip) return true;
        StatementUse use(*selectOne_);
        selectOne_->bindInteger(1, rowid);
        if (!selectOne_->step()) return true;
        if (rowids) rowids->push_back(rowid);
        rows.appendFrom(*selectOne_, 1, kinds_);
        return true;
    });
}

void RowidRuns::add(std::int64_t rowid)
{
    if (!runs_.empty() && runs_.back().first + runs_.back().count == rowid)
        ++runs_.back().count;
    else
        runs_.push_back({rowid, 1});
}

void RowSource::readBatch(std::int64_t after, CompactRows& rows, std::vector<std::int64_t>& rowids)
{
    rows.clear();
    rowids.clear();
    if (held()) rowGone();
    readRows(after, rows, &rowids, batchRows, batchBytes, beforeAnyRowid);
}

bool RowSource::readsFrom(const std::string& table) const
{
    return !held() && !lost_ && equalsIgnoringCase(rowsTable_, table);
}

void RowSource::rowsMovedTo(const std::string& aside)
{
    rowsTable_ = aside;
    setAside_ = true;
    select_.reset();
    selectOne_.reset();
}

void RowSource::hold()
{
    if (!held()) holdExcept(beforeAnyRowid);
}

void RowSource::holdExcept(std::int64_t skip)
{
    if (!lost_) readRows(beforeAnyRowid, heldRows_, nullptr, SIZE_MAX, SIZE_MAX, skip);
    rowCount_ = heldRows_.size();
    select_.reset();
    selectOne_.reset();
    schemaVersion_.reset();
    file_->unregisterRowSource(this);
    file_.reset();
}

void RowSource::lose() noexcept
{
    lost_ = true;
}

void RowSource::beforeAppend()
{
    // The rows set aside are not where the new row goes.
    if (setAside_) hold();
}

void RowSource::appended(std::int64_t rowid, const std::vector<const Variant*>& stored)
{
    if (!held() && rowid <= lastRowid_) {
        // SQLite found no rowid above the largest and took a free one among
        // the others: the rows are held from here on, the new one last.
        holdExcept(rowid);
    }
    if (held()) {
        heldRows_.append(stored);
    } else {
        appendedRowids_.add(rowid);
        lastRowid_ = rowid;
    }
    ++rowCount_;
}

}  // namespace engine::detail
