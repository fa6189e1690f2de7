#include "tools/sample/access/usage_map.h"

#include <stdexcept>

namespace sample::access {

namespace {

void setBit(std::span<std::uint8_t> bitmap, std::uint32_t bit)
{
    bitmap[bit / 8] |= static_cast<std::uint8_t>(1u << (bit % 8));
}

}  // namespace

UsageMap MakeUsageMap(const std::vector<std::uint32_t>& pages, PageFile& file)
{
    UsageMap map;
    map.row.assign(usageMapRowSize, 0);
    if (pages.empty() || pages.back() - pages.front() < inlineMapPages) {
        const std::uint32_t start = pages.empty() ? 0 : pages.front();
        SetU32(map.row, 1, start);
        for (std::uint32_t page : pages) setBit(std::span(map.row).subspan(5), page - start);
        return map;
    }
    map.row[0] = 0x01;
    constexpr std::size_t slots = (usageMapRowSize - 1) / 4;
    std::uint32_t lastSlot = slots;
    for (std::uint32_t page : pages) {
        const std::uint32_t slot = page / pagesPerBitmapPage;
        if (slot >= slots) throw std::length_error("a table reaches past the pages a usage map can cover");
        if (slot != lastSlot) {
            lastSlot = slot;
            const std::uint32_t number = file.allocate();
            ByteVector bitmap(pageSize, 0);
            bitmap[0] = 0x05;
            bitmap[1] = 0x01;
            map.bitmapPages.emplace_back(number, std::move(bitmap));
            SetU32(map.row, 1 + 4 * slot, number);
        }
        setBit(std::span(map.bitmapPages.back().second).subspan(4), page % pagesPerBitmapPage);
    }
    return map;
}

}  // namespace sample::access
