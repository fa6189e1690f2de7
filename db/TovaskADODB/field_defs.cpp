#include "db/TovaskADODB/field_defs.h"

#include "db/TovaskADODB/database_error.h"

namespace TovaskADODB {

const TFieldDef& TFieldDefs::operator[](int position) const
{
    if (position < 0 || position >= Count()) ListIndexError(position);
    return items_[static_cast<std::size_t>(position)];
}

}  // namespace TovaskADODB
