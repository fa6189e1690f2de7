#pragma once
// The table definition (TDEF): counts, the columns with their names, the
// declared indexes, spread over as many pages as it needs, each pointing to
// the next.

#include <cstdint>

#include "tools/sample/access/access_table.h"
#include "tools/sample/access/bytes.h"
#include "tools/sample/access/table_layout.h"

namespace sample::access {

struct TableState {
    std::uint32_t rows = 0;
    std::int32_t lastAutoNumber = 0;  // the last number handed out; the next row gets one more
    std::uint32_t usageMap = 0;       // row addresses of the two usage maps
    std::uint32_t freeSpaceMap = 0;
    bool system = false;
};

// Everything after the first page's 8-byte header; its size depends on the
// definition alone, not on the state.
ByteVector DefinitionBody(const TableDefinition& table, const TableLayout& layout, const TableState& state);

std::uint32_t DefinitionPageCount(std::size_t bodySize);

// The pages, numbered from firstPage on.
ByteVector DefinitionPages(const ByteVector& body, std::uint32_t firstPage);

}  // namespace sample::access
