#include "tools/sample/table_writer.h"

#include <limits>

#include "tools/sample/utf8_text.h"

namespace sample {

namespace {

std::string createTableSql(const std::string& table, const std::vector<FieldDefinition>& fields)
{
    std::string sql = "CREATE TABLE " + QuoteIdentifier(table) + " (";
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) sql += ", ";
        sql += QuoteIdentifier(fields[i].name) + " " + DeclaredType(fields[i]);
    }
    return sql + ")";
}

std::string insertSql(const std::string& table, std::size_t fieldCount)
{
    std::string sql = "INSERT INTO " + QuoteIdentifier(table) + " VALUES (";
    for (std::size_t i = 0; i < fieldCount; ++i) sql += i ? ", ?" : "?";
    return sql + ")";
}

SqliteFile& withTable(SqliteFile& file, const std::string& table, const std::vector<FieldDefinition>& fields)
{
    file.exec(createTableSql(table, fields));
    return file;
}

bool fits(const FieldDefinition& field, const Value& value)
{
    if (std::holds_alternative<std::monostate>(value)) return !field.required && field.kind != FieldKind::YesNo;
    const auto* number = std::get_if<std::int64_t>(&value);
    const auto* text = std::get_if<std::string>(&value);
    switch (field.kind) {
    case FieldKind::YesNo: return number && (*number == 0 || *number == 1);
    case FieldKind::Long:
        return number && *number >= std::numeric_limits<std::int32_t>::min() &&
               *number <= std::numeric_limits<std::int32_t>::max();
    case FieldKind::DateTime: return text && text->size() == 19;
    case FieldKind::Memo: return text && (field.allowZeroLength || !text->empty());
    case FieldKind::Text:
        return text && (field.allowZeroLength || !text->empty()) &&
               CodePoints(*text) <= static_cast<std::size_t>(field.size);
    }
    return false;
}

}  // namespace

TableWriter::TableWriter(SqliteFile& file, std::string table, std::vector<FieldDefinition> fields)
    : table_(std::move(table)), fields_(std::move(fields)),
      insert_(withTable(file, table_, fields_), insertSql(table_, fields_.size()))
{
}

void TableWriter::insert(const std::vector<Value>& values)
{
    if (values.size() != fields_.size()) throw std::logic_error("row of wrong width for " + table_);
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!fits(fields_[i], values[i]))
            throw std::logic_error("value does not fit " + table_ + "." + fields_[i].name);
        insert_.bind(static_cast<int>(i) + 1, values[i]);
    }
    insert_.run();
}

void CreateIndexes(SqliteFile& file, const std::string& table, const std::vector<IndexDefinition>& indexes)
{
    for (const auto& index : indexes) {
        file.exec(std::string(index.primary ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") +
                  QuoteIdentifier(table + "." + index.name) + " ON " + QuoteIdentifier(table) + " (" +
                  QuoteIdentifier(index.field) + ")");
    }
}

void CreatePropertyTables(SqliteFile& file)
{
    file.exec(
        "CREATE TABLE MSysFields(TableName TEXT NOT NULL, FieldName TEXT NOT NULL, "
        "Required INTEGER NOT NULL DEFAULT 0, AllowZeroLength INTEGER NOT NULL DEFAULT 1)");
    file.exec("CREATE TABLE MSysIndexes(TableName TEXT NOT NULL, IndexName TEXT NOT NULL)");
}

void RecordProperties(SqliteFile& file, const std::string& table, const std::vector<FieldDefinition>& fields,
                      const std::vector<IndexDefinition>& indexes)
{
    Statement field(file,
                    "INSERT INTO MSysFields(TableName, FieldName, Required, AllowZeroLength) VALUES (?, ?, ?, ?)");
    const Value tableName = table;
    for (const auto& definition : fields) {
        const Value name = definition.name;
        field.bind(1, tableName);
        field.bind(2, name);
        field.bind(3, std::int64_t{definition.required ? 1 : 0});
        field.bind(4, std::int64_t{definition.allowZeroLength ? 1 : 0});
        field.run();
    }
    Statement primary(file, "INSERT INTO MSysIndexes(TableName, IndexName) VALUES (?, ?)");
    for (const auto& index : indexes) {
        if (!index.primary) continue;
        const Value name = index.name;
        primary.bind(1, tableName);
        primary.bind(2, name);
        primary.run();
    }
}

}  // namespace sample
