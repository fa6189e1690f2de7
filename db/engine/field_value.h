#pragma once
// Values on their way into and out of a stored field.

#include <cstdint>
#include <string>

#include "db/engine/field_kind.h"
#include "db/engine/sqlite_handle.h"
#include "db/engine/variant.h"

namespace engine::detail {

// What writing to a field must know of it.
struct FieldRules {
    std::string table;
    std::string name;
    FieldKind kind;
    std::int32_t size;
    bool required = false;
    bool allowZeroLength = true;
};

// The value as the field stores it (a Yes/No as Boolean, a date as DateTime,
// ...): value itself when it is that already, else scratch holding it.
// EngineError naming the table and the field when the value does not convert
// or breaks the field's rules.
const Variant& convertForField(const Variant& value, const FieldRules& field, Variant& scratch);

// True for a text that a column of NUMERIC affinity (MEMO is one) could turn
// into a number: only digits, signs, points, exponents and white space.
bool mayReadAsNumber(std::string_view text);

// Binds a value made by convertForField for a field of the kind; `scratch`
// holds a date's text until the statement has run.
void bindStored(Statement& statement, int index, const Variant& stored, FieldKind kind, std::string& scratch);

// A stored value as the field's kind reads it, before it becomes a Variant:
// what a recordset keeps of the rows it holds.
struct StoredCell {
    enum class Type : std::uint8_t { Null, Boolean, Integer, Real, Text, DateText };
    Type type = Type::Null;
    std::int64_t integer = 0;  // Boolean: 0 or 1
    double real = 0;
    std::string_view text;  // Text; DateText, a Date/Time field's text, read as a date when it is one

    static StoredCell of(bool value) { return {Type::Boolean, value ? 1 : 0, 0, {}}; }
    static StoredCell of(std::int64_t value) { return {Type::Integer, value, 0, {}}; }
    static StoredCell of(double value) { return {Type::Real, 0, value, {}}; }
    static StoredCell of(Type textType, std::string_view value) { return {textType, 0, 0, value}; }
};

// A column of the current row as a field of the kind reads it; the text stays
// the statement's until it steps.
StoredCell cellOf(const Statement& statement, int column, FieldKind kind);
// The cell as a value; a text reuses the storage of a text that out holds.
void assignStored(const StoredCell& cell, Variant& out);

}  // namespace engine::detail
