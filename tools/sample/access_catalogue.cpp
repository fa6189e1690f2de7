#include "tools/sample/access_catalogue.h"

#include <cstdio>
#include <stdexcept>

namespace sample {

namespace {

access::DateTime dateFromText(const std::string& text)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d", &year, &month, &day, &hour, &minute, &second) != 6)
        throw std::logic_error("not a date-time text: " + text);
    return access::MakeDateTime(year, month, day, hour, minute, second);
}

}  // namespace

access::Column AccessColumn(const FieldDefinition& field, bool keyIsAutoNumber, bool compressed)
{
    access::Column column;
    column.name = field.name;
    column.required = field.required;
    column.allowZeroLength = field.allowZeroLength;
    column.compressedUnicode = compressed;
    switch (field.kind) {
    case FieldKind::YesNo: column.type = access::ColumnType::YesNo; break;
    case FieldKind::Long:
        column.type = access::ColumnType::Long;
        column.autoNumber = keyIsAutoNumber;
        break;
    case FieldKind::DateTime: column.type = access::ColumnType::DateTime; break;
    case FieldKind::Text:
        column.type = access::ColumnType::Text;
        column.size = field.size;
        break;
    case FieldKind::Memo: column.type = access::ColumnType::Memo; break;
    }
    return column;
}

access::Value AccessValue(const FieldDefinition& field, const Value& value)
{
    if (std::holds_alternative<std::monostate>(value)) return {};
    switch (field.kind) {
    case FieldKind::YesNo: return std::get<std::int64_t>(value) != 0;
    case FieldKind::Long: return std::get<std::int64_t>(value);
    case FieldKind::DateTime: return dateFromText(std::get<std::string>(value));
    case FieldKind::Text:
    case FieldKind::Memo: return std::get<std::string>(value);
    }
    return {};
}

void AccessSink::begin(const std::string& name, const std::vector<FieldDefinition>& fields,
                       const std::vector<IndexDefinition>& indexes)
{
    const bool people = name == "OSOBY";
    const bool autoNumberKey = people || name == "PLYTY";
    access::TableDefinition table{name, {}, {}};
    for (std::size_t i = 0; i < fields.size(); ++i)
        table.columns.push_back(AccessColumn(fields[i], autoNumberKey && i == 0, !people));
    for (const IndexDefinition& index : indexes)
        table.indexes.push_back({index.name, {index.field}, index.primary, false});
    fields_ = fields;
    writer_.beginTable(table);
}

void AccessSink::insert(const std::vector<Value>& values)
{
    values_.clear();
    for (std::size_t i = 0; i < values.size(); ++i) values_.push_back(AccessValue(fields_[i], values[i]));
    writer_.addRow(values_);
}

}  // namespace sample
