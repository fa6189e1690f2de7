#include "db/engine/name_collation.h"

#include "db/engine/case_fold.h"
#include "db/engine/sqlite_handle.h"

#include <string_view>

namespace engine::detail {
namespace {

int compareNames(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    const std::string folded = foldCase({static_cast<const char*>(a), static_cast<std::size_t>(lengthA)});
    return folded.compare(foldCase({static_cast<const char*>(b), static_cast<std::size_t>(lengthB)}));
}

}  // namespace

void registerNameCollation(sqlite3* db)
{
    const int rc = sqlite3_create_collation_v2(db, "vk_nocase", SQLITE_UTF8, nullptr, compareNames, nullptr);
    if (rc != SQLITE_OK) throwSqliteError(db, rc);
}

}  // namespace engine::detail
