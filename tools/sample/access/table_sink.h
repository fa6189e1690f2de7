#pragma once
// One table being written: rows checked against their columns and packed,
// long values placed inline or on LVAL pages, data pages written as they
// fill, and at the end the usage maps and the table definition.

#include <cstdint>
#include <optional>
#include <vector>

#include "tools/sample/access/access_table.h"
#include "tools/sample/access/definition_pages.h"
#include "tools/sample/access/page_file.h"
#include "tools/sample/access/row_page.h"
#include "tools/sample/access/table_layout.h"

namespace sample::access {

class TableSink {
public:
    // definitionPage/mapPage: pages already set aside (the system catalogue's
    // fixed pages); otherwise allocated here.
    TableSink(PageFile& file, TableDefinition table, bool system, std::optional<std::uint32_t> definitionPage = {},
              std::optional<std::uint32_t> mapPage = {});

    // One value per column, in column order. A value its column cannot hold:
    // std::invalid_argument naming table and column; nothing is written.
    void add(const std::vector<Value>& values);

    // Writes what is left; returns the definition's first page.
    std::uint32_t finish();

    const TableDefinition& definition() const { return table_; }

private:
    ByteVector packRow(const std::vector<Value>& values);
    ByteVector longValueHeader(ByteVector data, std::size_t rowSoFar, std::size_t& inlineBytes);
    std::uint32_t placeLongValueRow(const ByteVector& row);
    void writeDataPage();

    PageFile& file_;
    TableDefinition table_;
    TableLayout layout_;
    TableState state_;
    std::uint32_t definitionPage_;
    std::optional<std::uint32_t> mapPage_;
    std::optional<RowPage> data_;
    std::optional<RowPage> longValues_;
    std::vector<std::uint32_t> dataPages_;
};

}  // namespace sample::access
