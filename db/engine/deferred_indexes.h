#pragma once
// Indexes built in one pass once a table's rows are in. Plain indexes made on
// an empty table in the file's transaction, after the table's other indexes,
// are taken out again when rows start to be appended to that table and made
// again, in the same order, before anything else reads or changes the file's
// structure, and at the latest when the transaction commits: what a caller can
// see is the same, but SQLite builds each index by sorting instead of updating
// it row after row. Unique indexes are always kept: a duplicate must fail the
// append that makes it.

#include <string>
#include <vector>

#include "db/engine/sqlite_handle.h"

namespace engine::detail {

class DeferredIndexes {
public:
    // An index (SQLite's name) that was just made on an empty table.
    void made(const std::string& table, const std::string& index);
    // Takes out the indexes made on the table while it is still empty.
    void putOff(StatementCache& cache, const std::string& table);
    bool anyPutOff() const { return !putOff_.empty(); }
    // Makes the indexes taken out again; a failure leaves them taken out.
    void build(StatementCache& cache);
    // The transaction ended; a rollback took back what was made and taken out.
    void forget() noexcept;

private:
    struct Index {
        std::string table;
        std::string name;
        std::string sql;
    };
    std::vector<Index> made_;
    std::vector<Index> putOff_;
};

}  // namespace engine::detail
