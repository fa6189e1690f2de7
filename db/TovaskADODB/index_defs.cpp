#include "db/TovaskADODB/index_defs.h"

#include "db/TovaskADODB/database_error.h"

namespace TovaskADODB {

TIndexOptions::TIndexOptions(std::initializer_list<TIndexOption> options)
{
    for (TIndexOption option : options) bits_ |= Bit(option);
}

TIndexDef& TIndexDefs::Add(std::string name, std::string fields, TIndexOptions options)
{
    return items_.emplace_back(TIndexDef{std::move(name), std::move(fields), options});
}

const TIndexDef& TIndexDefs::operator[](int position) const
{
    if (position < 0 || position >= Count()) ListIndexError(position);
    return items_[static_cast<std::size_t>(position)];
}

}  // namespace TovaskADODB
