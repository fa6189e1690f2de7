#pragma once
// Tables as the catalogue file format stores them: fields with their kinds,
// sizes and properties, single-field indexes, and the values of a row.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace sample {

enum class FieldKind { YesNo, Long, DateTime, Text, Memo };

// Null, an integer (Yes/No as 1 or 0) or a text (dates as date-time text).
using Value = std::variant<std::monostate, std::int64_t, std::string>;

struct FieldDefinition {
    std::string name;
    FieldKind kind;
    int size = 0;  // characters, Text only
    bool required = false;
    bool allowZeroLength = false;
};

// The column's declared type, spelled as the format prescribes: BIT, LONG,
// DATETIME, TEXT(n), MEMO.
std::string DeclaredType(const FieldDefinition& field);

struct IndexDefinition {
    std::string name;
    std::string field;
    bool primary = false;  // stored unique, with a row in MSysIndexes
};

// A field together with the part of a generated record that fills it.
template <class Source>
struct Column {
    FieldDefinition field;
    Source source;
};

template <class Source>
struct TableDefinition {
    std::string name;
    std::vector<Column<Source>> columns;
    std::vector<IndexDefinition> indexes;

    std::vector<FieldDefinition> fields() const
    {
        std::vector<FieldDefinition> result;
        result.reserve(columns.size());
        for (const auto& column : columns) result.push_back(column.field);
        return result;
    }
};

}  // namespace sample
