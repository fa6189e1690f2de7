#include "db/engine/deferred_indexes.h"

#include "db/engine/case_fold.h"
#include "db/engine/table_schema.h"

#include <algorithm>

namespace engine::detail {

void DeferredIndexes::made(const std::string& table, const std::string& index)
{
    made_.push_back({table, index, {}});
}

void DeferredIndexes::putOff(StatementCache& cache, const std::string& table)
{
    const auto first = std::stable_partition(
        made_.begin(), made_.end(), [&](const Index& index) { return !equalsIgnoringCase(index.table, table); });
    if (first == made_.end()) return;
    std::vector<Index> candidates(std::make_move_iterator(first), std::make_move_iterator(made_.end()));
    made_.erase(first, made_.end());
    if (!tableIsEmpty(cache, table)) return;

    // The table's indexes in the order they were made: only those after every
    // other one can be made again at the end without changing that order.
    std::vector<Index> indexes;
    {
        StatementUse query(
            cache.get("SELECT name, sql FROM sqlite_schema WHERE type = 'index' AND tbl_name = ?1 "
                      "COLLATE NOCASE ORDER BY rowid"));
        query->bindText(1, table);
        while (query->step()) indexes.push_back({table, query->columnString(0), query->columnString(1)});
    }
    auto last = indexes.end();
    while (last != indexes.begin() && std::any_of(candidates.begin(), candidates.end(), [&](const Index& made) {
               return made.name == std::prev(last)->name;
           }))
        --last;
    if (last == indexes.end()) return;

    Savepoint change(cache.db());
    for (auto it = last; it != indexes.end(); ++it) cache.exec("DROP INDEX " + quoteIdentifier(it->name));
    change.release();
    putOff_.insert(putOff_.end(), std::make_move_iterator(last), std::make_move_iterator(indexes.end()));
}

void DeferredIndexes::build(StatementCache& cache)
{
    if (putOff_.empty()) return;
    Savepoint change(cache.db());
    for (const auto& index : putOff_) cache.exec(index.sql);
    change.release();
    putOff_.clear();
}

void DeferredIndexes::forget() noexcept
{
    made_.clear();
    putOff_.clear();
}

}  // namespace engine::detail
