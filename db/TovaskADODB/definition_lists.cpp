#include <string>

#include "db/TovaskADODB/database_error.h"
#include "db/TovaskADODB/field_defs.h"
#include "db/TovaskADODB/index_defs.h"

namespace TovaskADODB {

namespace {
[[noreturn]] void OutOfRange(int position)
{
    DatabaseError("List index out of bounds (" + std::to_string(position) + ")");
}
}  // namespace

const TFieldDef& TFieldDefs::operator[](int position) const
{
    if (position < 0 || position >= Count()) OutOfRange(position);
    return items_[static_cast<std::size_t>(position)];
}

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
    if (position < 0 || position >= Count()) OutOfRange(position);
    return items_[static_cast<std::size_t>(position)];
}

}  // namespace TovaskADODB
