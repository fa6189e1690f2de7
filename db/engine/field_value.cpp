#include "db/engine/field_value.h"

#include "db/engine/engine_error.h"
#include "db/engine/value_text.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>

namespace engine::detail {
namespace {

const char* kindName(FieldKind kind)
{
    switch (kind) {
    case FieldKind::YesNo: return "Yes/No";
    case FieldKind::Byte: return "Byte";
    case FieldKind::Integer: return "Integer";
    case FieldKind::Long: return "Long";
    case FieldKind::Currency: return "Currency";
    case FieldKind::Single: return "Single";
    case FieldKind::Double: return "Double";
    case FieldKind::DateTime: return "Date/Time";
    case FieldKind::Text: return "Text";
    case FieldKind::Binary: return "Binary";
    case FieldKind::LongBinary: return "Long Binary";
    case FieldKind::Memo: return "Memo";
    case FieldKind::Guid: return "Replication ID";
    }
    return "unknown";
}

std::string qualified(const FieldRules& field)
{
    return "'" + field.table + "." + field.name + "'";
}

using Problem = FieldValueError::Problem;

[[noreturn]] void refuse(const std::string& message, Problem problem, const FieldRules& field)
{
    throw FieldValueError(message, problem, field.table, field.name);
}

[[noreturn]] void mismatch(const Variant& value, const FieldRules& field)
{
    refuse(std::string("Data type mismatch: a ") + variantTypeName(value.type()) + " value cannot be stored in the " +
               kindName(field.kind) + " field " + qualified(field) + ".",
           Problem::Mismatch, field);
}

void checkText(const std::string& text, const FieldRules& field)
{
    if (text.empty() && !field.allowZeroLength)
        refuse("Field " + qualified(field) + " cannot be a zero-length string.", Problem::ZeroLength, field);
    // Bytes that are no text would be stored as text that other tools cannot read.
    if (!isValidUtf8(text))
        refuse("The value is not valid text for the field " + qualified(field) + ".", Problem::NotText, field);
    // No text has more characters than bytes: most are counted by their size alone.
    if (field.kind == FieldKind::Text && text.size() > static_cast<std::size_t>(field.size) &&
        codePointCount(text) > static_cast<std::size_t>(field.size))
        refuse("The field is too small to accept the amount of data you attempted to add. (field " + qualified(field) +
                   ")",
               Problem::TooLong, field);
}

// A value converts to a field's kind as the variant converts it; the field
// adds only its own rules. A value of the field's own type is taken as it is.
const Variant& convertValue(const Variant& value, const FieldRules& field, Variant& out)
{
    switch (field.kind) {
    case FieldKind::YesNo:
        if (value.type() == VariantType::Boolean) return value;
        out = value.toBoolean();
        return out;
    case FieldKind::Long:
        if (value.type() == VariantType::Integer) return value;
        out = value.toInteger();
        return out;
    case FieldKind::Byte:
    case FieldKind::Integer: {
        const std::int32_t number = value.toInteger();
        const bool fits =
            field.kind == FieldKind::Byte ? number >= 0 && number <= 255 : number >= INT16_MIN && number <= INT16_MAX;
        if (!fits) mismatch(value, field);
        out = number;
        return out;
    }
    case FieldKind::Double:
        if (value.type() == VariantType::Double) return value;
        out = value.toDouble();
        return out;
    case FieldKind::Single: {
        // Rounded to the field's precision, as the original engine stores a Single.
        const double number = value.toDouble();
        if (std::isfinite(number) && std::fabs(number) > FLT_MAX) mismatch(value, field);
        out = static_cast<double>(static_cast<float>(number));
        return out;
    }
    case FieldKind::Currency: {
        // Kept as whole ten-thousandths, the original engine's own scale.
        const double scaled = std::nearbyint(value.toDouble() * 10000.0);
        if (!(std::fabs(scaled) < 9.2e18)) mismatch(value, field);
        out = scaled / 10000.0;
        return out;
    }
    case FieldKind::Guid: {
        const Variant& text = value.type() == VariantType::Text ? value : (out = value.toText());
        return text;
    }
    case FieldKind::DateTime: {
        const DateTime date = value.toDateTime();
        if (!isValidDateTime(date)) mismatch(value, field);
        if (value.type() == VariantType::DateTime) return value;
        out = date;
        return out;
    }
    case FieldKind::Text:
    case FieldKind::Memo: {
        const Variant& text = value.type() == VariantType::Text ? value : (out = value.toText());
        checkText(text.text(), field);
        return text;
    }
    case FieldKind::Binary:
    case FieldKind::LongBinary:
        if (value.type() == VariantType::DateTime) mismatch(value, field);
        return value;
    }
    return value;
}

}  // namespace

const Variant& convertForField(const Variant& value, const FieldRules& field, Variant& scratch)
{
    if (value.isNull()) {
        if (field.kind == FieldKind::YesNo) {
            scratch = false;
            return scratch;
        }
        if (field.required)
            refuse("The field " + qualified(field) +
                       " cannot contain a Null value because the Required property for this field is set to True.",
                   Problem::Null, field);
        return value;
    }
    try {
        return convertValue(value, field, scratch);
    } catch (const VariantError&) {
        mismatch(value, field);
    }
}

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

void bindStored(Statement& statement, int index, const Variant& stored, FieldKind kind, std::string& scratch)
{
    switch (stored.type()) {
    case VariantType::Null: statement.bindNull(index); break;
    case VariantType::Boolean: statement.bindInteger(index, stored.boolean() ? 1 : 0); break;
    case VariantType::Integer: statement.bindInteger(index, stored.integer()); break;
    case VariantType::Double:
        if (kind == FieldKind::Currency)
            statement.bindInteger(index, std::llround(stored.real() * 10000.0));
        else
            statement.bindDouble(index, stored.real());
        break;
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
        if (type == SQLITE_NULL) return StoredCell::of(false);
        if (type == SQLITE_INTEGER) return StoredCell::of(statement.columnInteger(column) != 0);
        return StoredCell::of(statement.columnDouble(column) != 0.0);
    case FieldKind::Text:
    case FieldKind::Memo:
        if (type != SQLITE_NULL) return StoredCell::of(T::Text, statement.columnText(column));
        break;
    case FieldKind::DateTime:
        if (type == SQLITE_TEXT) return StoredCell::of(T::DateText, statement.columnText(column));
        break;
    case FieldKind::Double:
    case FieldKind::Single:
        if (type == SQLITE_INTEGER) return StoredCell::of(static_cast<double>(statement.columnInteger(column)));
        break;
    case FieldKind::Currency:
        // Ten-thousandths; a value reads as the nearest double.
        if (type == SQLITE_INTEGER)
            return StoredCell::of(static_cast<double>(statement.columnInteger(column)) / 10000.0);
        break;
    case FieldKind::Guid:
        if (type != SQLITE_NULL) return StoredCell::of(T::Text, statement.columnText(column));
        break;
    case FieldKind::Byte:
    case FieldKind::Integer:
    case FieldKind::Long:
    case FieldKind::Binary:
    case FieldKind::LongBinary: break;
    }
    // A value whose storage class does not match the field's kind, as it is.
    switch (type) {
    case SQLITE_INTEGER: return StoredCell::of(statement.columnInteger(column));
    case SQLITE_FLOAT: return StoredCell::of(statement.columnDouble(column));
    case SQLITE_NULL: return {};
    default: return StoredCell::of(T::Text, statement.columnText(column));
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
