#include "tools/sample/field_definition.h"

#include <stdexcept>

namespace sample {

std::string DeclaredType(const FieldDefinition& field)
{
    switch (field.kind) {
    case FieldKind::YesNo: return "BIT";
    case FieldKind::Long: return "LONG";
    case FieldKind::DateTime: return "DATETIME";
    case FieldKind::Memo: return "MEMO";
    case FieldKind::Text:
        if (field.size < 1 || field.size > 255)
            throw std::invalid_argument("Text field " + field.name + " needs a size of 1 to 255");
        return "TEXT(" + std::to_string(field.size) + ")";
    }
    throw std::invalid_argument("unknown field kind of " + field.name);
}

}  // namespace sample
