#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "db/engine/field_kind.h"

namespace TovaskADODB {

// A field of a table as its dataset describes it.
struct TFieldDef {
    std::string Name;
    engine::FieldKind DataType;
    std::int32_t Size;  // characters for Text, 0 otherwise
    int Index;          // position in the table
};

// The field definitions of a dataset: refreshed when it opens, kept as they were when it closes.
class TFieldDefs {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    // Fails (EDatabaseError) for a position out of range.
    const TFieldDef& operator[](int position) const;
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    void Assign(std::vector<TFieldDef> items) { items_ = std::move(items); }
    void Clear() { items_.clear(); }

private:
    std::vector<TFieldDef> items_;
};

}  // namespace TovaskADODB
