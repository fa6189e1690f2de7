#include "db/TovaskADODB/field_arrays.h"

namespace TovaskADODB {

std::int32_t FieldSizeFor(engine::FieldKind kind, std::int32_t size)
{
    switch (static_cast<std::int32_t>(kind)) {
    case 9:
    case 10:
    case 11:
    case 12:
    case 15:
    case 17:
    case 18: return size;
    default: return 0;
    }
}

}  // namespace TovaskADODB
