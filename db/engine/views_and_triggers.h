#pragma once
// The views and triggers of a file, set aside while its tables change shape.
// SQLite rewrites every view and trigger that names a column or a table being
// renamed, so they would follow a deleted field into its hidden column. Set
// aside (dropped, their own SQL text kept) and made again from that text
// afterwards, they go on naming fields and tables by name.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "db/engine/sqlite_handle.h"

namespace engine::detail {

class ViewsAndTriggers {
public:
    // Drops every view and trigger of the file, after noting what of it works
    // now: a view's SELECT, and for a trigger's table its INSERT, UPDATE and
    // DELETE, which compile the triggers. Inside the caller's savepoint.
    void setAside(StatementCache& cache);
    // Makes again, in their order, the views and then the triggers set aside,
    // and checks that what worked before still works. EngineError naming the
    // first one that does not; nothing is made again then and everything stays
    // set aside.
    void restore(StatementCache& cache);

    std::size_t size() const { return entries_.size(); }
    // The file took back, by a rollback, what was set aside after the first count.
    void forgetAfter(std::size_t count) noexcept;

private:
    struct Entry {
        bool isView;
        std::string name;
        std::string table;  // a trigger's table
        std::string sql;
        // A view: its SELECT compiled. A trigger: its table's INSERT, UPDATE, DELETE compiled.
        std::array<bool, 3> worked{};
    };
    static void makeAgain(StatementCache& cache, const Entry& entry);

    std::vector<Entry> entries_;
};

}  // namespace engine::detail
