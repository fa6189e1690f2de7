#pragma once
// Rows of stored values packed one after another into one buffer, rather than
// a heap-allocated value for every field: how a recordset keeps the rows it
// reads, a batch at a time or, where they cannot stay in the file, all of them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "db/engine/field_kind.h"
#include "db/engine/field_value.h"
#include "db/engine/sqlite_handle.h"
#include "db/engine/variant.h"

namespace engine::detail {

class CompactRows {
public:
    // Keeps the buffer's storage for the next rows.
    void clear();
    int size() const { return static_cast<int>(rowStarts_.size()); }
    std::size_t bytes() const { return bytes_.size(); }

    // The statement's current row: one column for each kind, from firstColumn on.
    void appendFrom(const Statement& statement, int firstColumn, const std::vector<FieldKind>& kinds);
    // A row of values as fields store them (made by convertForField).
    void append(const std::vector<const Variant*>& stored);

    // The row's values, one for each field, into out; out's texts keep their storage.
    void read(int row, std::vector<Variant>& out) const;

private:
    void put(const StoredCell& cell);

    std::string bytes_;
    std::vector<std::size_t> rowStarts_;
    int fieldCount_ = 0;
};

}  // namespace engine::detail
