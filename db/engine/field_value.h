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
// ...). EngineError naming the table and the field when the value does not
// convert or breaks the field's rules.
void convertForField(const Variant& value, const FieldRules& field, Variant& out);

// Binds a value made by convertForField for a field of the kind; `scratch`
// holds a date's text until the statement has run.
void bindStored(Statement& statement, int index, const Variant& stored, FieldKind kind, std::string& scratch);

// A column of the current row as a value of the field's kind.
Variant readStored(const Statement& statement, int column, FieldKind kind);

}  // namespace engine::detail
