#pragma once
// A column of a target structure, as AddField takes it.

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

inline ColumnDef AddTextField(std::string name, std::int32_t size)
{
    return {std::move(name), engine::FieldKind::Text, size, false, true, false};
}
inline ColumnDef AddLongField(std::string name)
{
    return {std::move(name), engine::FieldKind::Long, 0, false, false, false};
}
inline ColumnDef AddMemoField(std::string name)
{
    return {std::move(name), engine::FieldKind::Memo, 0, false, true, false};
}
inline ColumnDef DateTimeField(std::string name)
{
    return {std::move(name), engine::FieldKind::DateTime, 0, false, false, false};
}
inline ColumnDef YesNoField(std::string name)
{
    return {std::move(name), engine::FieldKind::YesNo, 0, false, false, false};
}

}  // namespace patch
