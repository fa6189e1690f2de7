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

void checkText(const std::string& text, const FieldRules& field)
{
    if (text.empty() && !field.allowZeroLength)
        throw EngineError("Field " + qualified(field) + " cannot be a zero-length string.");
    if (field.kind == FieldKind::Text && codePointCount(text) > static_cast<std::size_t>(field.size))
        throw EngineError("The field is too small to accept the amount of data you attempted to add. (field " +
                          qualified(field) + ")");
}

// A value converts to a field's kind as the variant converts it; the field
// adds only its own rules.
void convertValue(const Variant& value, const FieldRules& field, Variant& out)
{
    switch (field.kind) {
    case FieldKind::YesNo: out = value.toBoolean(); return;
    case FieldKind::Long: out = value.toInteger(); return;
    case FieldKind::Double: out = value.toDouble(); return;
    case FieldKind::DateTime: {
        const DateTime date = value.toDateTime();
        if (!isValidDateTime(date)) mismatch(value, field);
        out = date;
        return;
    }
    case FieldKind::Text:
    case FieldKind::Memo:
        if (value.type() == VariantType::Text)
            out = value;
        else
            out = value.toText();
        checkText(out.text(), field);
        return;
    case FieldKind::LongBinary:
        if (value.type() == VariantType::DateTime) mismatch(value, field);
        out = value;
        return;
    }
}

}  // namespace

void convertForField(const Variant& value, const FieldRules& field, Variant& out)
{
    if (value.isNull()) {
        if (field.kind == FieldKind::YesNo) {
            out = false;
            return;
        }
        if (field.required)
            throw EngineError("The field " + qualified(field) +
                              " cannot contain a Null value because the Required property for this field is set "
                              "to True.");
        out = Variant();
        return;
    }
    try {
        convertValue(value, field, out);
    } catch (const VariantError&) {
        mismatch(value, field);
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

namespace {

Variant numberAsRead(const Statement& statement, int column)
{
    const std::int64_t number = statement.columnInteger(column);
    if (number >= INT32_MIN && number <= INT32_MAX) return Variant(static_cast<std::int32_t>(number));
    return Variant(static_cast<double>(number));
}

// A value whose storage class does not match the field's kind, as it is.
Variant asStored(const Statement& statement, int column, int type)
{
    switch (type) {
    case SQLITE_INTEGER: return numberAsRead(statement, column);
    case SQLITE_FLOAT: return Variant(statement.columnDouble(column));
    case SQLITE_NULL: return Variant();
    default: return Variant(statement.columnString(column));
    }
}

}  // namespace

Variant readStored(const Statement& statement, int column, FieldKind kind)
{
    const int type = statement.columnType(column);
    switch (kind) {
    case FieldKind::YesNo:
        if (type == SQLITE_NULL) return Variant(false);
        if (type == SQLITE_INTEGER) return Variant(statement.columnInteger(column) != 0);
        return Variant(statement.columnDouble(column) != 0.0);
    case FieldKind::Text:
    case FieldKind::Memo:
        if (type != SQLITE_NULL) return Variant(statement.columnString(column));
        break;
    case FieldKind::DateTime:
        if (type == SQLITE_TEXT) {
            const auto text = statement.columnText(column);
            if (const auto parsed = parseIsoDateTime(text)) return Variant(*parsed);
            return Variant(std::string(text));
        }
        break;
    case FieldKind::Long:
    case FieldKind::Double:
    case FieldKind::LongBinary: break;
    }
    if (kind == FieldKind::Double && type == SQLITE_INTEGER)
        return Variant(static_cast<double>(statement.columnInteger(column)));
    return asStored(statement, column, type);
}

}  // namespace engine::detail
