#include "db/engine/recordset.h"

#include "db/engine/connection.h"
#include "db/engine/database_file.h"
#include "db/engine/engine_error.h"
#include "db/engine/field_value.h"
#include "db/engine/msys_catalog.h"
#include "db/engine/table_schema.h"

#include <algorithm>

namespace engine {
namespace {

// The rows of one opened table, shared by the recordset and its clones.
// Values read at open are kept row after row in chunks of a fixed number of
// rows, so that growing never moves the values already read. Rows appended
// later stay in the file and are read back by rowid when asked for: a rebuild
// appends as many rows as its snapshot holds, and keeping both in memory
// would double the upgrade's peak.
struct RowStore {
    static constexpr std::size_t rowsPerChunk = 1024;

    std::string table;
    std::vector<RecordsetField> fields;
    std::vector<detail::FieldRules> rules;
    std::vector<std::vector<Variant>> chunks;
    int rowCount = 0;
    int loadedRows = 0;                  // rows held in chunks
    std::vector<std::int64_t> appended;  // rowids of the rows after them
    std::string rowidName;               // empty: no rowid, appended rows go to chunks too
    std::weak_ptr<DatabaseFile> file;

    // Where the next row's values go.
    std::vector<Variant>& chunkForNewRow()
    {
        if (chunks.empty() || chunks.back().size() >= rowsPerChunk * fields.size()) {
            chunks.emplace_back();
            chunks.back().reserve(rowsPerChunk * fields.size());
        }
        return chunks.back();
    }

    const Variant& at(int row, int position) const
    {
        const auto r = static_cast<std::size_t>(row);
        return chunks[r / rowsPerChunk][(r % rowsPerChunk) * fields.size() + static_cast<std::size_t>(position)];
    }
};

// The name by which the table's rowid can be asked for; empty when every one is a column's.
std::string rowidNameOf(const std::vector<detail::ColumnInfo>& columns)
{
    for (const char* alias : {"_rowid_", "rowid", "oid"}) {
        const bool shadowed = std::any_of(columns.begin(), columns.end(),
                                          [&](const auto& c) { return sqlite3_stricmp(c.name.c_str(), alias) == 0; });
        if (!shadowed) return alias;
    }
    return {};
}

std::string selectText(const std::string& table, const std::vector<RecordsetField>& fields,
                       const std::string& rowidName)
{
    std::string sql = "SELECT ";
    for (std::size_t i = 0; i < fields.size(); ++i) sql += (i ? ", " : "") + detail::quoteIdentifier(fields[i].name);
    if (fields.empty()) sql += "1";
    sql += " FROM " + detail::quoteIdentifier(table);
    // Without an order SQLite may read through a covering index, in its key order.
    return rowidName.empty() ? sql : sql + " ORDER BY " + rowidName;
}

// Prepares the reading of every row; clears rowidName for a table without a rowid.
std::unique_ptr<detail::Statement> prepareSelect(DatabaseFile& file, const std::string& table,
                                                 const std::vector<RecordsetField>& fields, std::string& rowidName)
{
    if (!rowidName.empty()) {
        try {
            return std::make_unique<detail::Statement>(file.handle(), selectText(table, fields, rowidName));
        } catch (const EngineError&) {
            // Views and WITHOUT ROWID tables have no rowid; they are read as they come.
        }
    }
    rowidName.clear();
    return std::make_unique<detail::Statement>(file.handle(), selectText(table, fields, rowidName));
}

}  // namespace

struct StaticRecordset::State {
    std::shared_ptr<DatabaseFile> file;  // an opened recordset's hold; a clone's only once it appends
    std::shared_ptr<RowStore> rows;
    std::unique_ptr<detail::Statement> insert;    // declared after file: finalized before it
    std::unique_ptr<detail::Statement> readBack;  // one appended row, by rowid
    std::vector<std::string> dateTexts;           // bound dates, reused row after row
    std::vector<Variant> converted;               // the row being appended, reused
    std::vector<Variant> appendedRow;             // the appended row last read back
    int appendedRowIndex = -1;
    int current = 0;

    const Variant& appendedValue(int position);
};

StaticRecordset::StaticRecordset() : state_(std::make_unique<State>()) {}

StaticRecordset::~StaticRecordset() = default;

void StaticRecordset::open(const Connection& connection, const std::string& tableName)
{
    close();
    if (!connection.isOpen()) throw EngineError("Operation is not allowed when the object is closed.");
    const auto file = connection.file();
    auto& statements = file->statements();
    auto rows = std::make_shared<RowStore>();
    rows->table = detail::requireUserTable(statements, tableName);
    rows->file = file;

    const auto columns = detail::tableColumns(statements, rows->table);
    for (const auto& column : columns) {
        if (column.hidden) continue;
        const auto kind = detail::kindOfDeclaredType(column.declaredType);
        const auto properties = detail::fieldProperties(statements, rows->table, column.name);
        rows->fields.push_back({column.name, kind.kind, kind.size});
        rows->rules.push_back(
            {rows->table, column.name, kind.kind, kind.size, properties.required, properties.allowZeroLength});
    }

    rows->rowidName = rowidNameOf(columns);
    const auto select = prepareSelect(*file, rows->table, rows->fields, rows->rowidName);
    detail::StatementUse use(*select);
    const int fieldCount = static_cast<int>(rows->fields.size());
    std::vector<FieldKind> kinds;
    for (const auto& field : rows->fields) kinds.push_back(field.kind);
    while (select->step()) {
        if (fieldCount > 0) {
            auto& chunk = rows->chunkForNewRow();
            for (int i = 0; i < fieldCount; ++i)
                chunk.push_back(detail::readStored(*select, i, kinds[static_cast<std::size_t>(i)]));
        }
        ++rows->rowCount;
    }
    rows->loadedRows = rows->rowCount;

    state_->file = file;
    state_->rows = std::move(rows);
    state_->current = 0;
}

void StaticRecordset::cloneFrom(const StaticRecordset& source)
{
    if (&source == this) return;
    if (!source.isOpen()) throw EngineError("Operation is not allowed when the object is closed.");
    auto rows = source.state_->rows;
    close();
    state_->rows = std::move(rows);
    state_->current = 0;
}

void StaticRecordset::close()
{
    state_->readBack.reset();
    state_->appendedRowIndex = -1;
    state_->insert.reset();
    state_->file.reset();
    state_->rows.reset();
    state_->dateTexts.clear();
    state_->current = 0;
}

bool StaticRecordset::isOpen() const
{
    return state_->rows != nullptr;
}

const std::vector<RecordsetField>& StaticRecordset::fields() const
{
    static const std::vector<RecordsetField> none;
    return isOpen() ? state_->rows->fields : none;
}

int StaticRecordset::recordCount() const
{
    return isOpen() ? state_->rows->rowCount : 0;
}

void StaticRecordset::first()
{
    if (!isOpen()) throw EngineError("Operation is not allowed when the object is closed.");
    state_->current = 0;
}

void StaticRecordset::next()
{
    if (eof()) throw EngineError("Either BOF or EOF is True, or the current record has been deleted.");
    ++state_->current;
}

bool StaticRecordset::eof() const
{
    return !isOpen() || state_->current >= state_->rows->rowCount;
}

const Variant& StaticRecordset::value(int position) const
{
    if (eof()) throw EngineError("Either BOF or EOF is True, or the current record has been deleted.");
    const auto& rows = *state_->rows;
    const int fieldCount = static_cast<int>(rows.fields.size());
    if (position < 0 || position >= fieldCount)
        throw EngineError(
            "Item cannot be found in the collection corresponding to the requested name or ordinal. "
            "(position " +
            std::to_string(position) + " of " + std::to_string(fieldCount) + " fields)");
    if (state_->current < rows.loadedRows) return rows.at(state_->current, position);
    return state_->appendedValue(position);
}

const Variant& StaticRecordset::State::appendedValue(int position)
{
    if (appendedRowIndex != current) {
        const auto shared = rows->file.lock();
        if (!shared) throw EngineError("The connection of the table '" + rows->table + "' is closed.");
        if (!readBack) {
            std::string sql = selectText(rows->table, rows->fields, {}) + " WHERE " + rows->rowidName + " = ?1";
            readBack = std::make_unique<detail::Statement>(shared->handle(), sql);
        }
        detail::StatementUse use(*readBack);
        readBack->bindInteger(1, rows->appended[static_cast<std::size_t>(current - rows->loadedRows)]);
        if (!readBack->step()) throw EngineError("Either BOF or EOF is True, or the current record has been deleted.");
        appendedRow.clear();
        for (std::size_t i = 0; i < rows->fields.size(); ++i)
            appendedRow.push_back(detail::readStored(*readBack, static_cast<int>(i), rows->fields[i].kind));
        appendedRowIndex = current;
    }
    return appendedRow[static_cast<std::size_t>(position)];
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
    auto& rows = *state_->rows;
    const std::size_t fieldCount = rows.fields.size();
    if (values.size() > fieldCount)
        throw EngineError("Table '" + rows.table + "' has " + std::to_string(fieldCount) + " fields; " +
                          std::to_string(values.size()) + " values were given.");
    if (!state_->insert) prepareInsert();

    auto& insert = *state_->insert;
    auto& converted = state_->converted;
    converted.resize(fieldCount);
    {
        detail::StatementUse use(insert);
        static const Variant null;
        for (std::size_t i = 0; i < fieldCount; ++i)
            detail::convertForField(i < values.size() ? values[i] : null, rows.rules[i], converted[i]);
        for (std::size_t i = 0; i < fieldCount; ++i)
            detail::bindStored(insert, static_cast<int>(i) + 1, converted[i], rows.fields[i].kind,
                               state_->dateTexts[i]);
        insert.step();
    }
    if (!rows.rowidName.empty()) {
        rows.appended.push_back(sqlite3_last_insert_rowid(state_->file->handle()));
    } else if (fieldCount > 0) {
        // No rowid to find the row again by: keep it, after the rows read at open.
        auto& chunk = rows.chunkForNewRow();
        chunk.insert(chunk.end(), converted.begin(), converted.end());
        ++rows.loadedRows;
    }
    state_->current = rows.rowCount++;
}

void StaticRecordset::prepareInsert()
{
    auto& rows = *state_->rows;
    auto file = state_->file ? state_->file : rows.file.lock();
    if (!file) throw EngineError("The connection of the table '" + rows.table + "' is closed.");

    std::string names;
    std::string values;
    for (std::size_t i = 0; i < rows.fields.size(); ++i) {
        names += (i ? ", " : "") + detail::quoteIdentifier(rows.fields[i].name);
        values += (i ? ", ?" : "?") + std::to_string(i + 1);
    }
    // A deleted field that other tools made NOT NULL without a default still
    // needs a value in its hidden column.
    for (const auto& column : detail::tableColumns(file->statements(), rows.table)) {
        if (!column.hidden || !column.needsValue) continue;
        names += (names.empty() ? "" : ", ") + detail::quoteIdentifier(column.name);
        values += values.empty() ? "0" : ", 0";
    }
    const std::string sql = "INSERT INTO " + detail::quoteIdentifier(rows.table) +
                            (names.empty() ? " DEFAULT VALUES" : "(" + names + ") VALUES(" + values + ")");
    state_->insert = std::make_unique<detail::Statement>(file->handle(), sql);
    state_->dateTexts.assign(rows.fields.size(), std::string());
    state_->file = std::move(file);
}

}  // namespace engine
