#include "tools/sample/access/row_page.h"

#include <algorithm>
#include <stdexcept>

namespace sample::access {

RowPage::RowPage(std::uint32_t number, std::array<std::uint8_t, 4> owner) : number_(number)
{
    page_[0] = 0x01;
    page_[1] = 0x01;
    std::copy(owner.begin(), owner.end(), page_.begin() + 4);
    SetU16(page_, 2, static_cast<unsigned>(freeSpace()));
}

RowPage RowPage::Data(std::uint32_t number, std::uint32_t owner)
{
    return RowPage(number, {static_cast<std::uint8_t>(owner), static_cast<std::uint8_t>(owner >> 8),
                            static_cast<std::uint8_t>(owner >> 16), static_cast<std::uint8_t>(owner >> 24)});
}

RowPage RowPage::LongValues(std::uint32_t number)
{
    return RowPage(number, {'L', 'V', 'A', 'L'});
}

std::size_t RowPage::freeSpace() const
{
    return top_ - headerSize - 2 * rows_;
}

bool RowPage::fits(std::size_t rowSize) const
{
    return rows_ < maxRows && rowSize + 2 <= freeSpace();
}

unsigned RowPage::add(std::span<const std::uint8_t> row)
{
    if (!fits(row.size())) throw std::logic_error("row does not fit the page");
    top_ -= row.size();
    std::copy(row.begin(), row.end(), page_.begin() + static_cast<std::ptrdiff_t>(top_));
    SetU16(page_, headerSize + 2 * rows_, static_cast<unsigned>(top_));
    ++rows_;
    SetU16(page_, 12, static_cast<unsigned>(rows_));
    SetU16(page_, 2, static_cast<unsigned>(freeSpace()));
    return static_cast<unsigned>(rows_ - 1);
}

}  // namespace sample::access
