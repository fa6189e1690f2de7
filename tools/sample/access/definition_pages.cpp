#include "tools/sample/access/definition_pages.h"

#include <algorithm>

#include "tools/sample/access/jet_text.h"

namespace sample::access {

namespace {

constexpr std::size_t pageHeader = 8;
constexpr std::size_t bodyPerPage = pageSize - pageHeader;
constexpr unsigned sortOrderGeneral = 0x0409;
// Constants Jet stamps where the format's descriptions say "unknown".
constexpr std::uint32_t tableMagic = 0x0659;
constexpr std::uint32_t indexMagic = 0x0783;

constexpr std::uint8_t flagFixed = 0x01;
constexpr std::uint8_t flagUpdatable = 0x02;
constexpr std::uint8_t flagAutoNumber = 0x04;
constexpr std::uint8_t flagCompressedUnicode = 0x01;  // in the second flag byte

constexpr std::uint8_t indexUnique = 0x01;
constexpr std::uint8_t indexRequired = 0x08;

void putName(ByteVector& out, const std::string& name)
{
    const ByteVector units = Utf16Bytes(Utf16(name));
    PutU16(out, static_cast<unsigned>(units.size()));
    PutBytes(out, units);
}

bool isTextual(ColumnType type)
{
    return type == ColumnType::Text || type == ColumnType::Memo;
}

void putColumn(ByteVector& out, const Column& column, const ColumnLayout& place)
{
    PutU8(out, static_cast<unsigned>(place.type));
    PutU32(out, tableMagic);
    PutU16(out, place.number);
    PutU16(out, place.fixed ? 0 : place.varIndex);
    PutU16(out, place.number);
    PutU16(out, isTextual(column.type) ? sortOrderGeneral : 0);  // or precision and scale
    PutU16(out, 0);
    std::uint8_t flags = flagUpdatable;
    if (place.fixed) flags |= flagFixed;
    if (column.autoNumber) flags |= flagAutoNumber;
    PutU8(out, flags);
    PutU8(out, isTextual(column.type) && column.compressedUnicode ? flagCompressedUnicode : 0);
    PutU32(out, 0);
    PutU16(out, place.fixed ? place.fixedOffset : 0);
    PutU16(out, place.length);
}

}  // namespace

ByteVector DefinitionBody(const TableDefinition& table, const TableLayout& layout, const TableState& state)
{
    const auto indexCount = static_cast<std::uint32_t>(table.indexes.size());
    ByteVector body;
    PutU32(body, 0);  // total length, set below
    PutU32(body, tableMagic);
    PutU32(body, state.rows);
    PutU32(body, static_cast<std::uint32_t>(state.lastAutoNumber));
    PutU8(body, layout.hasAutoNumber ? 1 : 0);
    body.resize(body.size() + 3 + 4 + 8, 0);
    PutU8(body, state.system ? 0x53 : 0x4E);
    PutU16(body, static_cast<unsigned>(table.columns.size()));  // no column was ever deleted
    PutU16(body, layout.varCount);
    PutU16(body, static_cast<unsigned>(table.columns.size()));
    PutU32(body, indexCount);  // declared indexes
    PutU32(body, indexCount);  // each with its own stored index
    PutU32(body, state.usageMap);
    PutU32(body, state.freeSpaceMap);
    for (std::uint32_t i = 0; i < indexCount; ++i) {
        PutU32(body, 0);
        PutU32(body, state.rows);
        PutU32(body, 0);
    }
    for (std::size_t i = 0; i < table.columns.size(); ++i) putColumn(body, table.columns[i], layout.columns[i]);
    for (const Column& column : table.columns) putName(body, column.name);
    for (std::size_t i = 0; i < table.indexes.size(); ++i) {
        const Index& index = table.indexes[i];
        const auto& numbers = layout.indexColumns[i];
        PutU32(body, indexMagic);
        for (std::size_t k = 0; k < 10; ++k) {
            PutU16(body, k < numbers.size() ? numbers[k] : 0xFFFF);
            PutU8(body, k < numbers.size() ? 1 : 0);  // ascending
        }
        PutU32(body, 0);  // the index's own usage map: no index pages are written
        PutU32(body, 0);  // its first page
        PutU32(body, 0);
        std::uint8_t flags = 0;
        if (index.primary || index.unique) flags |= indexUnique;
        if (index.primary) flags |= indexRequired;
        PutU8(body, flags);
        body.resize(body.size() + 5, 0);
    }
    for (std::uint32_t i = 0; i < indexCount; ++i) {
        PutU32(body, tableMagic);
        PutU32(body, i);  // the declared index
        PutU32(body, i);  // the stored index behind it
        PutU8(body, 0);
        PutU32(body, 0xFFFFFFFF);  // no foreign key
        PutU32(body, 0);
        PutU8(body, 0);
        PutU8(body, 0);
        PutU8(body, table.indexes[i].primary ? 1 : 0);
        PutU32(body, 0);
    }
    for (const Index& index : table.indexes) putName(body, index.name);
    PutU16(body, 0xFFFF);  // no per-column usage maps
    SetU32(body, 0, static_cast<std::uint32_t>(body.size() + pageHeader));
    return body;
}

std::uint32_t DefinitionPageCount(std::size_t bodySize)
{
    return static_cast<std::uint32_t>(std::max<std::size_t>(1, (bodySize + bodyPerPage - 1) / bodyPerPage));
}

ByteVector DefinitionPages(const ByteVector& body, std::uint32_t firstPage)
{
    const std::uint32_t count = DefinitionPageCount(body.size());
    ByteVector pages(count * pageSize, 0);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::span page = std::span(pages).subspan(i * pageSize, pageSize);
        const std::size_t from = i * bodyPerPage;
        const std::size_t length = std::min(bodyPerPage, body.size() - from);
        page[0] = 0x02;
        page[1] = 0x01;
        SetU16(page, 2, static_cast<unsigned>(bodyPerPage - length));
        SetU32(page, 4, i + 1 < count ? firstPage + i + 1 : 0);
        std::copy_n(body.begin() + static_cast<std::ptrdiff_t>(from), length, page.begin() + pageHeader);
    }
    return pages;
}

}  // namespace sample::access
