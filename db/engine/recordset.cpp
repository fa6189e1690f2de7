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
// Values are kept row after row in chunks of a fixed number of rows, so that
// growing never moves the values already read.
struct RowStore {
    static constexpr std::size_t rowsPerChunk = 1024;

    std::string table;
    std::vector<RecordsetField> fields;
    std::vector<detail::FieldRules> rules;
    std::vector<std::vector<Variant>> chunks;
    int rowCount = 0;
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

std::string selectText(const std::string& table, const std::vector<RecordsetField>& fields,
                       const std::vector<detail::ColumnInfo>& columns, bool inRowidOrder)
{
    std::string sql = "SELECT ";
    for (std::size_t i = 0; i < fields.size(); ++i)
        sql += (i ? ", " : "") + detail::quoteIdentifier(fields[i].name);
    if (fields.empty()) sql += "1";
    sql += " FROM " + detail::quoteIdentifier(table);
    if (!inRowidOrder) return sql;
    // Without an order SQLite may read through a covering index, in its key order.
    for (const char* alias : {"_rowid_", "rowid", "oid"}) {
        const bool shadowed = std::any_of(columns.begin(), columns.end(),
                                          [&](const auto& c) { return sqlite3_stricmp(c.name.c_str(), alias) == 0; });
        if (!shadowed) return sql + " ORDER BY " + alias;
    }
    return sql;
}

std::unique_ptr<detail::Statement> prepareSelect(DatabaseFile& file, const std::string& table,
                                                 const std::vector<RecordsetField>& fields,
                                                 const std::vector<detail::ColumnInfo>& columns)
{
    try {
        return std::make_unique<detail::Statement>(file.handle(), selectText(table, fields, columns, true));
    } catch (const EngineError&) {
        // Views and WITHOUT ROWID tables have no rowid; they are read as they come.
        return std::make_unique<detail::Statement>(file.handle(), selectText(table, fields, columns, false));
    }
}

}  // namespace

struct StaticRecordset::State {
    std::shared_ptr<DatabaseFile> file;  // an opened recordset's hold; a clone's only once it appends
    std::shared_ptr<RowStore> rows;
    std::unique_ptr<detail::Statement> insert;  // declared after file: finalized before it
    std::vector<std::string> dateTexts;         // bound dates, reused row after row
    int current = 0;
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

    const auto select = prepareSelect(*file, rows->table, rows->fields, columns);
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
        throw EngineError("Item cannot be found in the collection corresponding to the requested name or ordinal. "
                          "(position " + std::to_string(position) + " of " + std::to_string(fieldCount) +
                          " fields)");
    return rows.at(state_->current, position);
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
    std::vector<Variant>* chunk = fieldCount > 0 ? &rows.chunkForNewRow() : nullptr;
    const std::size_t start = chunk ? chunk->size() : 0;
    try {
        detail::StatementUse use(insert);
        static const Variant null;
        for (std::size_t i = 0; i < fieldCount; ++i) {
            chunk->emplace_back();
            detail::convertForField(i < values.size() ? values[i] : null, rows.rules[i], chunk->back());
        }
        for (std::size_t i = 0; i < fieldCount; ++i)
            detail::bindStored(insert, static_cast<int>(i) + 1, (*chunk)[start + i], rows.fields[i].kind,
                               state_->dateTexts[i]);
        insert.step();
    } catch (...) {
        if (chunk) chunk->resize(start);  // the row is in neither the file nor the recordset
        throw;
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
