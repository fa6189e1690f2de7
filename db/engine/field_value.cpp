#include "db/engine/field_value.h"

#include "db/engine/engine_error.h"
#include "db/engine/value_text.h"

#include <climits>
#include <cstring>

namespace engine::detail {
namespace {

const char* kindName(FieldKind kind)
{
    switch (kind) {
    case FieldKind::YesNo: return "Yes/No";
    case FieldKind::Long: return "Long";
    case FieldKind::Double: return "Double";
    case FieldKind::DateTime: return "Date/Time";
    case FieldKind::Text: return "Text";
    case FieldKind::LongBinary: return "Long Binary";
    case FieldKind::Memo: return "Memo";
    }
    return "unknown";
}

std::string qualified(const FieldRules& field)
{
    return "'" + field.table + "." + field.name + "'";
}

[[noreturn]] void mismatch(const Variant& value, const FieldRules& field)
{
    throw EngineError(std::string("Data type mismatch: a ") + variantTypeName(value.type()) +
                      " value cannot be stored in the " + kindName(field.kind) + " field " + qualified(field) + ".");
}

void toLong(const Variant& value, const FieldRules& field, Variant& out)
{
    switch (value.type()) {
    case VariantType::Integer: out = value.integer(); return;
    case VariantType::Boolean: out = std::int32_t{value.boolean() ? -1 : 0}; return;
    case VariantType::Double:
        if (const auto rounded = roundToInteger(value.real())) {
            out = *rounded;
            return;
        }
        break;
    case VariantType::Text:
        if (const auto number = parseInteger(value.text())) {
            out = *number;
            return;
        }
        break;
    default: break;
    }
    mismatch(value, field);
}

void toDouble(const Variant& value, const FieldRules& field, Variant& out)
{
    switch (value.type()) {
    case VariantType::Integer: out = static_cast<double>(value.integer()); return;
    case VariantType::Boolean: out = value.boolean() ? -1.0 : 0.0; return;
    case VariantType::Double: out = value.real(); return;
    case VariantType::Text:
        if (const auto number = parseDouble(value.text())) {
            out = *number;
            return;
        }
        break;
    default: break;
    }
    mismatch(value, field);
}

void assignText(Variant& out, std::string_view text)
{
    out = std::string(text);
}

void toText(const Variant& value, const FieldRules& field, Variant& out)
{
    switch (value.type()) {
    case VariantType::Text: out = value; break;
    case VariantType::Integer: assignText(out, std::to_string(value.integer())); break;
    case VariantType::Double: {
        const auto text = doubleText(value.real());
        if (!text) mismatch(value, field);
        assignText(out, *text);
        break;
    }
    case VariantType::DateTime:
        if (!isValidDateTime(value.dateTime())) mismatch(value, field);
        assignText(out, dateTimeDisplayText(value.dateTime()));
        break;
    default: mismatch(value, field);
    }
    const std::string& text = out.text();
    if (text.empty() && !field.allowZeroLength)
        throw EngineError("Field " + qualified(field) + " cannot be a zero-length string.");
    if (field.kind == FieldKind::Text && codePointCount(text) > static_cast<std::size_t>(field.size))
        throw EngineError("The field is too small to accept the amount of data you attempted to add. (field " +
                          qualified(field) + ")");
}

void toDateTime(const Variant& value, const FieldRules& field, Variant& out)
{
    if (value.type() == VariantType::DateTime && isValidDateTime(value.dateTime())) {
        out = value.dateTime();
        return;
    }
    if (value.type() == VariantType::Text) {
        if (const auto parsed = parseIsoDateTime(value.text())) {
            out = *parsed;
            return;
        }
    }
    mismatch(value, field);
}

void toYesNo(const Variant& value, const FieldRules& field, Variant& out)
{
    switch (value.type()) {
    case VariantType::Null: out = false; return;
    case VariantType::Boolean: out = value.boolean(); return;
    case VariantType::Integer: out = value.integer() != 0; return;
    default: mismatch(value, field);
    }
}

}  // namespace

void convertForField(const Variant& value, const FieldRules& field, Variant& out)
{
    if (field.kind == FieldKind::YesNo) {
        toYesNo(value, field, out);
        return;
    }
    if (value.isNull()) {
        if (field.required)
            throw EngineError("The field " + qualified(field) +
                              " cannot contain a Null value because the Required property for this field is set "
                              "to True.");
        out = Variant();
        return;
    }
    switch (field.kind) {
    case FieldKind::Long: toLong(value, field, out); return;
    case FieldKind::Double: toDouble(value, field, out); return;
    case FieldKind::Text:
    case FieldKind::Memo: toText(value, field, out); return;
    case FieldKind::DateTime: toDateTime(value, field, out); return;
    case FieldKind::LongBinary:
        if (value.type() == VariantType::DateTime) mismatch(value, field);
        out = value;
        return;
    case FieldKind::YesNo: break;
    }
}

namespace {

// True for a text that a column of NUMERIC affinity (MEMO is one) could turn
// into a number: only digits, signs, points, exponents and white space.
bool mayReadAsNumber(std::string_view text)
{
    bool digit = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9')
            digit = true;
        else if (!std::strchr("+-.eE \t\n\v\f\r", c))
            return false;
    }
    return digit;
}

}  // namespace

void bindStored(Statement& statement, int index, const Variant& stored, FieldKind kind, std::string& scratch)
{
    switch (stored.type()) {
    case VariantType::Null: statement.bindNull(index); break;
    case VariantType::Boolean: statement.bindInteger(index, stored.boolean() ? 1 : 0); break;
    case VariantType::Integer: statement.bindInteger(index, stored.integer()); break;
    case VariantType::Double: statement.bindDouble(index, stored.real()); break;
    case VariantType::Text:
        // Stored as bytes, or SQLite would keep "007" as the number 7.
        if (kind == FieldKind::Memo && mayReadAsNumber(stored.text()))
            statement.bindBlob(index, stored.text());
        else
            statement.bindText(index, stored.text());
        break;
    case VariantType::DateTime:
        formatStoredDateTime(stored.dateTime(), scratch);
        statement.bindText(index, scratch);
        break;
    }
}

StoredCell cellOf(const Statement& statement, int column, FieldKind kind)
{
    using T = StoredCell::Type;
    const int type = statement.columnType(column);
    switch (kind) {
    case FieldKind::YesNo:
        if (type == SQLITE_NULL) return StoredCell::Of(false);
        if (type == SQLITE_INTEGER) return StoredCell::Of(statement.columnInteger(column) != 0);
        return StoredCell::Of(statement.columnDouble(column) != 0.0);
    case FieldKind::Text:
    case FieldKind::Memo:
        if (type != SQLITE_NULL) return StoredCell::Of(T::Text, statement.columnText(column));
        break;
    case FieldKind::DateTime:
        if (type == SQLITE_TEXT) return StoredCell::Of(T::DateText, statement.columnText(column));
        break;
    case FieldKind::Double:
        if (type == SQLITE_INTEGER) return StoredCell::Of(static_cast<double>(statement.columnInteger(column)));
        break;
    case FieldKind::Long:
    case FieldKind::LongBinary: break;
    }
    // A value whose storage class does not match the field's kind, as it is.
    switch (type) {
    case SQLITE_INTEGER: return StoredCell::Of(statement.columnInteger(column));
    case SQLITE_FLOAT: return StoredCell::Of(statement.columnDouble(column));
    case SQLITE_NULL: return {};
    default: return StoredCell::Of(T::Text, statement.columnText(column));
    }
}

void assignStored(const StoredCell& cell, Variant& out)
{
    using T = StoredCell::Type;
    switch (cell.type) {
    case T::Null: out = Variant(); return;
    case T::Boolean: out = cell.integer != 0; return;
    case T::Integer:
        if (cell.integer >= INT32_MIN && cell.integer <= INT32_MAX)
            out = static_cast<std::int32_t>(cell.integer);
        else
            out = static_cast<double>(cell.integer);
        return;
    case T::Real: out = cell.real; return;
    case T::DateText:
        if (const auto parsed = parseIsoDateTime(cell.text)) {
            out = *parsed;
            return;
        }
        break;
    case T::Text: break;
    }
    out.assignText(cell.text);
}

}  // namespace engine::detail
