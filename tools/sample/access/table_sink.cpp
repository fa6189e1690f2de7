#include "tools/sample/access/table_sink.h"

#include <cmath>
#include <limits>
#include <stdexcept>

#include "tools/sample/access/jet_text.h"
#include "tools/sample/access/usage_map.h"

namespace sample::access {

namespace {

// Access keeps rows a little below what a page could hold.
constexpr std::size_t maxRowSize = 4060;
// Longer long values go to LVAL pages even when the row has room.
constexpr std::size_t maxInlineLongValue = 64;
constexpr std::size_t longValueHeaderSize = 12;
// Memos longer than this are never compressed.
constexpr std::size_t maxCompressedMemo = 1024;
constexpr std::size_t maxLongValue = 0xFFFFFF;

constexpr std::uint8_t longValueInline = 0x80;
constexpr std::uint8_t longValueOnePage = 0x40;
constexpr std::uint8_t longValueChain = 0x00;

class ValueError {
public:
    ValueError(const TableDefinition& table, const Column& column) : where_(table.name + "." + column.name) {}
    [[noreturn]] void operator()(const std::string& what) const { throw std::invalid_argument(where_ + ": " + what); }

private:
    std::string where_;
};

template <class T>
const T& expect(const Value& value, const ValueError& fail, const char* what)
{
    const T* held = std::get_if<T>(&value);
    if (!held) fail(std::string("needs ") + what);
    return *held;
}

std::int64_t integerIn(const Value& value, const ValueError& fail, std::int64_t low, std::int64_t high)
{
    const std::int64_t number = expect<std::int64_t>(value, fail, "a whole number");
    if (number < low || number > high) fail("value " + std::to_string(number) + " out of range");
    return number;
}

void putFixed(ByteVector& fixed, std::size_t at, std::uint64_t bits, int size)
{
    for (int i = 0; i < size; ++i) fixed[at + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

}  // namespace

TableSink::TableSink(PageFile& file, TableDefinition table, bool system, std::optional<std::uint32_t> definitionPage,
                     std::optional<std::uint32_t> mapPage)
    : file_(file), table_(std::move(table)), layout_(LayOut(table_)), mapPage_(mapPage)
{
    state_.system = system;
    const std::size_t bodySize = DefinitionBody(table_, layout_, state_).size();
    if (definitionPage) {
        if (DefinitionPageCount(bodySize) != 1) throw std::logic_error("the system catalogue needs one page");
        definitionPage_ = *definitionPage;
    } else {
        definitionPage_ = file_.allocate(DefinitionPageCount(bodySize));
    }
}

void TableSink::add(const std::vector<Value>& values)
{
    if (values.size() != table_.columns.size())
        throw std::invalid_argument("a row of " + table_.name + " needs " + std::to_string(table_.columns.size()) +
                                    " values, not " + std::to_string(values.size()));
    const ByteVector row = packRow(values);
    if (state_.rows == std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("too many rows in " + table_.name);
    if (data_ && !data_->fits(row.size())) writeDataPage();
    if (!data_) data_.emplace(RowPage::Data(file_.allocate(), definitionPage_));
    data_->add(row);
    ++state_.rows;
}

ByteVector TableSink::packRow(const std::vector<Value>& values)
{
    const std::size_t count = table_.columns.size();
    ByteVector fixed(layout_.fixedSize, 0);
    std::vector<ByteVector> variable(layout_.varCount);
    std::vector<bool> notNull(count, false);
    std::vector<std::size_t> longColumns;
    std::optional<std::int32_t> autoNumber;

    for (std::size_t i = 0; i < count; ++i) {
        const Column& column = table_.columns[i];
        const ColumnLayout& place = layout_.columns[i];
        const Value& value = values[i];
        const ValueError fail(table_, column);
        if (std::holds_alternative<std::monostate>(value)) {
            if (column.type == ColumnType::YesNo) fail("a Yes/No is never null");
            if (column.required) fail("is required");
            continue;
        }
        notNull[i] = true;
        ByteVector* out = place.fixed ? nullptr : &variable[place.varIndex];
        const std::size_t at = place.fixedOffset;
        switch (column.type) {
        case ColumnType::YesNo: notNull[i] = expect<bool>(value, fail, "Yes or No"); break;
        case ColumnType::Byte:
            putFixed(fixed, at, static_cast<std::uint64_t>(integerIn(value, fail, 0, 255)), 1);
            break;
        case ColumnType::Integer:
            putFixed(fixed, at, static_cast<std::uint64_t>(integerIn(value, fail, -32768, 32767)), 2);
            break;
        case ColumnType::Long: {
            const auto number = static_cast<std::int32_t>(integerIn(value, fail, INT32_MIN, INT32_MAX));
            putFixed(fixed, at, static_cast<std::uint32_t>(number), 4);
            if (column.autoNumber) autoNumber = number;
            break;
        }
        case ColumnType::Currency:
            putFixed(fixed, at, static_cast<std::uint64_t>(expect<Currency>(value, fail, "a Currency").tenThousandths),
                     8);
            break;
        case ColumnType::Single:
            putFixed(fixed, at, BitsOf(static_cast<float>(expect<double>(value, fail, "a number"))), 4);
            break;
        case ColumnType::Double: putFixed(fixed, at, BitsOf(expect<double>(value, fail, "a number")), 8); break;
        case ColumnType::DateTime: {
            const double days = expect<DateTime>(value, fail, "a Date/Time").days;
            if (!std::isfinite(days)) fail("needs a finite Date/Time");
            putFixed(fixed, at, BitsOf(days), 8);
            break;
        }
        case ColumnType::Guid: {
            const Guid& guid = expect<Guid>(value, fail, "a Replication ID");
            std::copy(guid.bytes.begin(), guid.bytes.end(), fixed.begin() + at);
            break;
        }
        case ColumnType::Text: {
            const std::u16string text = Utf16(expect<std::string>(value, fail, "a text"));
            if (text.empty() && !column.allowZeroLength) fail("allows no zero-length text");
            if (text.size() > static_cast<std::size_t>(column.size))
                fail("text longer than " + std::to_string(column.size) + " characters");
            *out = StoredText(text, column.compressedUnicode);
            break;
        }
        case ColumnType::Binary: {
            const Binary& bytes = expect<Binary>(value, fail, "bytes");
            if (bytes.size() > static_cast<std::size_t>(column.size))
                fail("more than " + std::to_string(column.size) + " bytes");
            *out = bytes;
            break;
        }
        case ColumnType::Memo: {
            const std::u16string text = Utf16(expect<std::string>(value, fail, "a text"));
            if (text.empty() && !column.allowZeroLength) fail("allows no zero-length text");
            *out = StoredText(text, column.compressedUnicode && text.size() <= maxCompressedMemo);
            longColumns.push_back(i);
            break;
        }
        case ColumnType::Ole:
            *out = expect<Binary>(value, fail, "bytes");
            longColumns.push_back(i);
            break;
        }
    }

    // The row as it would be with every long value on other pages; inline
    // ones then take what room is left, in column order.
    const std::size_t maskSize = (count + 7) / 8;
    std::size_t rowSize = 2 + fixed.size() + maskSize;
    if (layout_.varCount > 0) rowSize += 2 + 2 * layout_.varCount + 2;
    for (const ByteVector& part : variable) rowSize += part.size();
    for (std::size_t i : longColumns) {
        const ByteVector& out = variable[layout_.columns[i].varIndex];
        if (out.size() > maxLongValue) ValueError(table_, table_.columns[i])("longer than 16 MB");
        rowSize = rowSize - out.size() + longValueHeaderSize;
    }
    for (std::size_t i : longColumns) {
        ByteVector& out = variable[layout_.columns[i].varIndex];
        std::size_t inlineBytes = 0;
        out = longValueHeader(std::move(out), rowSize, inlineBytes);
        rowSize += inlineBytes;
    }
    if (rowSize > maxRowSize) throw std::invalid_argument("a row of " + table_.name + " is too long for a page");

    ByteVector row;
    row.reserve(rowSize);
    PutU16(row, static_cast<unsigned>(count));
    PutBytes(row, fixed);
    if (layout_.varCount > 0) {
        std::vector<std::uint16_t> offsets;
        for (const ByteVector& part : variable) {
            offsets.push_back(static_cast<std::uint16_t>(row.size()));
            PutBytes(row, part);
        }
        PutU16(row, static_cast<unsigned>(row.size()));  // where the variable data ends
        for (auto it = offsets.rbegin(); it != offsets.rend(); ++it) PutU16(row, *it);
        PutU16(row, layout_.varCount);
    }
    ByteVector mask(maskSize, 0);
    for (std::size_t i = 0; i < count; ++i)
        if (notNull[i]) mask[i / 8] |= static_cast<std::uint8_t>(1u << (i % 8));
    PutBytes(row, mask);
    if (autoNumber && *autoNumber > state_.lastAutoNumber) state_.lastAutoNumber = *autoNumber;
    return row;
}

ByteVector TableSink::longValueHeader(ByteVector data, std::size_t rowSoFar, std::size_t& inlineBytes)
{
    const auto length = static_cast<std::uint32_t>(data.size());
    ByteVector header;
    if (data.size() <= maxInlineLongValue && rowSoFar + data.size() <= maxRowSize) {
        PutU32(header, length | (std::uint32_t{longValueInline} << 24));
        PutU32(header, 0);
        PutU32(header, 0);
        PutBytes(header, data);
        inlineBytes = data.size();
        return header;
    }
    if (data.size() <= RowPage::maxRowSize) {
        PutU32(header, length | (std::uint32_t{longValueOnePage} << 24));
        PutU32(header, placeLongValueRow(data));
        PutU32(header, 0);
        return header;
    }
    // A chain: each piece starts with the address of the next, the last with
    // 0; placed from the last piece back, so each knows its successor.
    constexpr std::size_t piece = RowPage::maxRowSize - 4;
    const std::size_t pieces = (data.size() + piece - 1) / piece;
    std::uint32_t next = 0;
    for (std::size_t k = pieces; k-- > 0;) {
        const std::size_t from = k * piece;
        const std::size_t size = std::min(piece, data.size() - from);
        ByteVector row;
        row.reserve(size + 4);
        PutU32(row, next);
        row.insert(row.end(), data.begin() + static_cast<std::ptrdiff_t>(from),
                   data.begin() + static_cast<std::ptrdiff_t>(from + size));
        next = placeLongValueRow(row);
    }
    PutU32(header, length | (std::uint32_t{longValueChain} << 24));
    PutU32(header, next);
    PutU32(header, 0);
    return header;
}

std::uint32_t TableSink::placeLongValueRow(const ByteVector& row)
{
    if (longValues_ && !longValues_->fits(row.size())) {
        file_.write(longValues_->number(), longValues_->bytes());
        longValues_.reset();
    }
    if (!longValues_) longValues_.emplace(RowPage::LongValues(file_.allocate()));
    const unsigned number = longValues_->add(row);
    return PageRow(longValues_->number(), number);
}

void TableSink::writeDataPage()
{
    file_.write(data_->number(), data_->bytes());
    dataPages_.push_back(data_->number());
    data_.reset();
}

std::uint32_t TableSink::finish()
{
    if (data_) writeDataPage();
    if (longValues_) {
        file_.write(longValues_->number(), longValues_->bytes());
        longValues_.reset();
    }
    // Both maps on a page of their own; the free-space map stays empty, as
    // in a freshly compacted file.
    const std::uint32_t mapPage = mapPage_ ? *mapPage_ : file_.allocate();
    const UsageMap used = MakeUsageMap(dataPages_, file_);
    const UsageMap free = MakeUsageMap({}, file_);
    RowPage maps = RowPage::Data(mapPage, 0);
    state_.usageMap = PageRow(mapPage, maps.add(used.row));
    state_.freeSpaceMap = PageRow(mapPage, maps.add(free.row));
    file_.write(mapPage, maps.bytes());
    for (const auto& [number, page] : used.bitmapPages) file_.write(number, page);
    file_.write(definitionPage_, DefinitionPages(DefinitionBody(table_, layout_, state_), definitionPage_));
    return definitionPage_;
}

}  // namespace sample::access
