#pragma once
// Columns given to AddFields as parallel arrays, one element per column.

#include <cstdint>
#include <string>
#include <vector>

#include "db/engine/field_kind.h"

namespace TovaskADODB {

// Attribute bits of a column.
inline constexpr std::int32_t ColumnJoinsPrimaryKey = 1;
inline constexpr std::int32_t ColumnOwnIndexA = 2;
inline constexpr std::int32_t ColumnOwnIndexB = 4;

struct TFieldArrays {
    std::vector<std::string> Names;
    std::vector<engine::FieldKind> Kinds;  // its length sets the number of columns
    std::vector<std::int32_t> Sizes;
    std::vector<std::int32_t> Required;         // 0 or 1
    std::vector<std::int32_t> AllowZeroLength;  // 0 or 1
    std::vector<std::int32_t> Attributes;       // ColumnJoinsPrimaryKey | ColumnOwnIndexA/B
};

// The size passed on for a column: kept for the sized kinds (9, 10, 11, 12, 15, 17, 18), else 0.
std::int32_t FieldSizeFor(engine::FieldKind kind, std::int32_t size);

}  // namespace TovaskADODB
