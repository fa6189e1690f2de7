#pragma once
// Usage maps: which pages belong to a table. A map is a 64-byte row; the
// inline kind (type 0) holds a start page and a bitmap of the 472 pages from
// it, the reference kind (type 1) points to whole bitmap pages (type 0x05),
// each covering 32,736 pages of the file.

#include <cstdint>
#include <utility>
#include <vector>

#include "tools/sample/access/bytes.h"
#include "tools/sample/access/page_file.h"

namespace sample::access {

constexpr std::size_t usageMapRowSize = 64;
constexpr std::uint32_t inlineMapPages = (usageMapRowSize - 5) * 8;
constexpr std::uint32_t pagesPerBitmapPage = (pageSize - 4) * 8;

struct UsageMap {
    ByteVector row;
    std::vector<std::pair<std::uint32_t, ByteVector>> bitmapPages;  // page number, page
};

// pages in rising order; the bitmap pages of a reference map are allocated
// from file.
UsageMap MakeUsageMap(const std::vector<std::uint32_t>& pages, PageFile& file);

}  // namespace sample::access
