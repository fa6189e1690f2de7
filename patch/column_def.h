#pragma once
// A column of a target structure, as AddField takes it, and the builders of the
// five kinds the upgrades use. A builder only describes the column; the table
// rebuild adds it with AddField.

#include <cstdint>
#include <string>

#include "db/engine/field_kind.h"

namespace patch {

struct ColumnDef {
    std::string name;
    engine::FieldKind kind;
    std::int32_t size;
    bool required;
    bool allowZeroLength;
    bool primaryKey;
};

inline ColumnDef TextColumn(std::string name, std::int32_t size)
{
    return {std::move(name), engine::FieldKind::Text, size, false, true, false};
}
inline ColumnDef LongColumn(std::string name)
{
    return {std::move(name), engine::FieldKind::Long, 0, false, false, false};
}
inline ColumnDef MemoColumn(std::string name)
{
    return {std::move(name), engine::FieldKind::Memo, 0, false, true, false};
}
inline ColumnDef DateTimeColumn(std::string name)
{
    return {std::move(name), engine::FieldKind::DateTime, 0, false, false, false};
}
inline ColumnDef YesNoColumn(std::string name)
{
    return {std::move(name), engine::FieldKind::YesNo, 0, false, false, false};
}

}  // namespace patch
