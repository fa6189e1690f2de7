#pragma once
// A data page or a long-value (LVAL) page being filled: the header, the
// table of row offsets after it, and the rows stored from the page's end
// towards it.

#include <array>
#include <cstdint>
#include <span>

#include "tools/sample/access/bytes.h"

namespace sample::access {

class RowPage {
public:
    static constexpr std::size_t headerSize = 14;
    static constexpr std::size_t maxRows = 255;  // a row address keeps the row in one byte

    // owner: the table definition page, or none for the pages of usage maps.
    static RowPage Data(std::uint32_t number, std::uint32_t owner);
    static RowPage LongValues(std::uint32_t number);

    std::uint32_t number() const { return number_; }
    std::size_t rows() const { return rows_; }
    bool fits(std::size_t rowSize) const;
    // The row's number on the page.
    unsigned add(std::span<const std::uint8_t> row);
    std::span<const std::uint8_t> bytes() const { return page_; }

    // The most one row can hold on an empty page.
    static constexpr std::size_t maxRowSize = pageSize - headerSize - 2;

private:
    RowPage(std::uint32_t number, std::array<std::uint8_t, 4> owner);
    std::size_t freeSpace() const;

    std::uint32_t number_;
    std::array<std::uint8_t, pageSize> page_{};
    std::size_t rows_ = 0;
    std::size_t top_ = pageSize;  // where the last row added begins
};

}  // namespace sample::access
