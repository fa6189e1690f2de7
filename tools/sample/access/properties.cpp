#include "tools/sample/access/properties.h"

#include "tools/sample/access/jet_text.h"

namespace sample::access {

namespace {

constexpr unsigned namesBlock = 0x80;
constexpr unsigned tableBlock = 0x00;
constexpr unsigned columnBlock = 0x01;
constexpr unsigned typeYesNo = 0x01;

enum PropertyName : unsigned { required = 0, allowZeroLength = 1 };

void putBlock(ByteVector& out, unsigned type, const ByteVector& content)
{
    PutU32(out, static_cast<std::uint32_t>(content.size() + 6));
    PutU16(out, type);
    PutBytes(out, content);
}

void putYesNo(ByteVector& out, unsigned name, bool value)
{
    PutU16(out, 9);  // the entry's length, this field included
    PutU8(out, 0);
    PutU8(out, typeYesNo);
    PutU16(out, name);
    PutU16(out, 1);
    PutU8(out, value ? 1 : 0);
}

ByteVector objectBlock(const std::string& name)
{
    const ByteVector units = name.empty() ? ByteVector{} : Utf16Bytes(Utf16(name));
    ByteVector block;
    PutU32(block, static_cast<std::uint32_t>(6 + units.size()));
    PutU16(block, static_cast<unsigned>(units.size()));
    PutBytes(block, units);
    return block;
}

}  // namespace

ByteVector TableProperties(const TableDefinition& table)
{
    ByteVector result{'M', 'R', '2', 0};
    ByteVector names;
    for (const char* name : {"Required", "AllowZeroLength"}) {
        const ByteVector units = Utf16Bytes(Utf16(name));
        PutU16(names, static_cast<unsigned>(units.size()));
        PutBytes(names, units);
    }
    putBlock(result, namesBlock, names);
    putBlock(result, tableBlock, objectBlock(""));
    for (const Column& column : table.columns) {
        ByteVector block = objectBlock(column.name);
        putYesNo(block, required, column.required);
        if (column.type == ColumnType::Text || column.type == ColumnType::Memo)
            putYesNo(block, allowZeroLength, column.allowZeroLength);
        putBlock(result, columnBlock, block);
    }
    return result;
}

}  // namespace sample::access
