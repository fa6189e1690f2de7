#include "db/engine/recordset.h"

#include "db/engine/connection.h"
#include "db/engine/database_file.h"
#include "db/engine/engine_error.h"
#include "db/engine/field_value.h"
#include "db/engine/row_source.h"
#include "db/engine/table_schema.h"

#include <limits>

namespace engine {
namespace {

[[noreturn]] void noCurrentRow()
{
    throw EngineError("Either BOF or EOF is True, or the current record has been deleted.");
}

}  // namespace

// A recordset's rows are its source's (shared with its clones); the cursor and
// the batch of rows around it are its own.
struct StaticRecordset::State {
    std::shared_ptr<detail::RowSource> source;
    std::shared_ptr<DatabaseFile> file;         // held while it appends
    std::unique_ptr<detail::Statement> insert;  // declared after file: finalized before it
    std::vector<std::string> dateTexts;         // bound dates, reused row after row
    std::vector<Variant> converted;             // values of the row being appended that needed converting
    std::vector<const Variant*> stored;         // the row being appended as stored

    int current = 0;
    detail::CompactRows batch;  // rows batchStart, batchStart + 1, ... of a source in the file
    std::vector<std::int64_t> batchRowids;
    int batchStart = 0;
    std::int64_t beforeBatch = std::numeric_limits<std::int64_t>::min();  // rowid of the row before it
    std::vector<Variant> row;                                             // the current row's values
    int rowIndex = -1;                                                    // which row that is

    const std::vector<Variant>& currentRow();
};

const std::vector<Variant>& StaticRecordset::State::currentRow()
{
    if (rowIndex == current) return row;
    if (source->held()) {
        if (current >= source->heldRows().size()) noCurrentRow();
        source->heldRows().read(current, row);
    } else {
        // Rows are found by reading on from a known one: the row before the
        // batch, or for rows before the batch the start.
        if (current < batchStart) {
            batch.clear();
            batchRowids.clear();
            batchStart = 0;
            beforeBatch = std::numeric_limits<std::int64_t>::min();
        }
        while (current >= batchStart + batch.size()) {
            if (batch.size() > 0) {
                beforeBatch = batchRowids.back();
                batchStart += batch.size();
            }
            source->readBatch(beforeBatch, batch, batchRowids);
            if (batch.size() == 0) noCurrentRow();
        }
        batch.read(current - batchStart, row);
    }
    rowIndex = current;
    return row;
}

StaticRecordset::StaticRecordset() : state_(std::make_unique<State>()) {}

StaticRecordset::~StaticRecordset() = default;

void StaticRecordset::open(const Connection& connection, const std::string& tableName)
{
    close();
    if (!connection.isOpen()) throw EngineError("Operation is not allowed when the object is closed.");
    state_->source = std::make_shared<detail::RowSource>(connection.file(), tableName);
}

void StaticRecordset::cloneFrom(const StaticRecordset& source)
{
    if (&source == this) return;
    if (!source.isOpen()) throw EngineError("Operation is not allowed when the object is closed.");
    auto rows = source.state_->source;
    close();
    state_->source = std::move(rows);
}

void StaticRecordset::close()
{
    auto& state = *state_;
    state.insert.reset();
    state.file.reset();
    state.source.reset();
    state.dateTexts.clear();
    state.current = 0;
    state.batch.clear();
    state.batchRowids.clear();
    state.batchStart = 0;
    state.beforeBatch = std::numeric_limits<std::int64_t>::min();
    state.rowIndex = -1;
}

bool StaticRecordset::isOpen() const
{
    return state_->source != nullptr;
}

const std::vector<RecordsetField>& StaticRecordset::fields() const
{
    static const std::vector<RecordsetField> none;
    return isOpen() ? state_->source->fields() : none;
}

int StaticRecordset::recordCount() const
{
    return isOpen() ? state_->source->rowCount() : 0;
}

void StaticRecordset::first()
{
    if (!isOpen()) throw EngineError("Operation is not allowed when the object is closed.");
    state_->current = 0;
}

void StaticRecordset::next()
{
    if (eof()) noCurrentRow();
    ++state_->current;
}

bool StaticRecordset::eof() const
{
    return !isOpen() || state_->current >= state_->source->rowCount();
}

const Variant& StaticRecordset::value(int position) const
{
    if (eof()) noCurrentRow();
    const int fieldCount = static_cast<int>(state_->source->fields().size());
    if (position < 0 || position >= fieldCount)
        throw EngineError(
            "Item cannot be found in the collection corresponding to the requested name or ordinal. "
            "(position " +
            std::to_string(position) + " of " + std::to_string(fieldCount) + " fields)");
    return state_->currentRow()[static_cast<std::size_t>(position)];
}

std::int32_t StaticRecordset::valueAsInteger(int position) const
{
    const Variant& v = value(position);
    if (v.isNull()) return 0;
    return v.toInteger();
}

void StaticRecordset::append(const std::vector<Variant>& values)
{
    if (!isOpen()) throw EngineError("Operation is not allowed when the object is closed.");
    auto& state = *state_;
    auto& source = *state.source;
    const std::size_t fieldCount = source.fields().size();
    if (values.size() > fieldCount)
        throw EngineError("Table '" + source.table() + "' has " + std::to_string(fieldCount) + " fields; " +
                          std::to_string(values.size()) + " values were given.");
    if (!state.insert) prepareInsert();

    auto& insert = *state.insert;
    auto& stored = state.stored;
    state.converted.resize(fieldCount);
    stored.resize(fieldCount);
    {
        detail::StatementUse use(insert);
        static const Variant null;
        for (std::size_t i = 0; i < fieldCount; ++i)
            stored[i] =
                &detail::convertForField(i < values.size() ? values[i] : null, source.rules()[i], state.converted[i]);
        for (std::size_t i = 0; i < fieldCount; ++i)
            detail::bindStored(insert, static_cast<int>(i) + 1, *stored[i], source.fields()[i].kind,
                               state.dateTexts[i]);
        source.beforeAppend();
        insert.step();
    }
    const std::int64_t before = source.lastRowid();
    source.appended(sqlite3_last_insert_rowid(state.insert->db()), stored);
    // The new row is the current one; reading on from it reads the rows after the last one before it.
    state.current = source.rowCount() - 1;
    state.batch.clear();
    state.batchRowids.clear();
    state.batchStart = state.current;
    state.beforeBatch = before;
    state.rowIndex = -1;
}

void StaticRecordset::prepareInsert()
{
    auto& source = *state_->source;
    auto file = source.file();
    if (!file) throw EngineError("The connection of the table '" + source.table() + "' is closed.");
    auto& statements = file->statements();

    std::string names;
    std::string values;
    for (std::size_t i = 0; i < source.fields().size(); ++i) {
        names += (i ? ", " : "") + detail::quoteIdentifier(source.fields()[i].name);
        values += (i ? ", ?" : "?") + std::to_string(i + 1);
    }
    // A deleted field that other tools made NOT NULL without a default still
    // needs a value in its hidden column.
    for (const auto& column : detail::tableColumns(statements, source.table())) {
        if (!column.hidden || !column.needsValue) continue;
        names += (names.empty() ? "" : ", ") + detail::quoteIdentifier(column.name);
        values += values.empty() ? "0" : ", 0";
    }
    const std::string sql = "INSERT INTO " + detail::quoteIdentifier(source.table()) +
                            (names.empty() ? " DEFAULT VALUES" : "(" + names + ") VALUES(" + values + ")");
    // Rows are coming: indexes made on the empty table wait for them.
    file->appendingTo(source.table());
    // Where the table's rows are: the new file, while the file is written anew.
    state_->insert = std::make_unique<detail::Statement>(file->rowsHandle(source.table()), sql);
    state_->dateTexts.assign(source.fields().size(), std::string());
    state_->file = std::move(file);
}

}  // namespace engine
