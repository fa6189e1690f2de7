#pragma once
// Where each column of a table lives in a row: fixed columns at an offset
// after the column count, variable ones through the row's offset table, and
// every column one bit of the null mask (the value itself for Yes/No).

#include <cstdint>
#include <vector>

#include "tools/sample/access/access_table.h"

namespace sample::access {

struct ColumnLayout {
    ColumnType type;
    bool fixed;
    std::uint16_t number;       // also the bit in the null mask
    std::uint16_t fixedOffset;  // from the end of the column count
    std::uint16_t varIndex;     // in the row's offset table
    std::uint16_t length;       // the stored column length
};

struct TableLayout {
    std::vector<ColumnLayout> columns;                     // in column order
    std::vector<std::vector<std::uint16_t>> indexColumns;  // column numbers of each index
    std::uint16_t fixedSize = 0;
    std::uint16_t varCount = 0;
    bool hasAutoNumber = false;
};

bool IsLongValue(ColumnType type);

// Checks the definition (names, sizes, index columns) and lays it out;
// std::invalid_argument names what is wrong.
TableLayout LayOut(const TableDefinition& table);

}  // namespace sample::access
