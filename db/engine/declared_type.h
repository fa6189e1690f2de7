#pragma once
// Field kinds from columns' declared types and back.

#include <cstdint>
#include <string>
#include <string_view>

#include "db/engine/field_kind.h"

namespace engine::detail {

struct ColumnKind {
    FieldKind kind;
    std::int32_t size;  // characters for Text, 0 otherwise
};

ColumnKind kindOfDeclaredType(std::string_view declaredType);

// The declared type the engine writes for a new field; EngineError for a kind
// it does not create or a Text size outside 1..255. A Memo's size is ignored.
std::string declaredTypeFor(FieldKind kind, std::int32_t size);

}  // namespace engine::detail
