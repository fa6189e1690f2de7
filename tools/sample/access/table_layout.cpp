#include "tools/sample/access/table_layout.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <stdexcept>

#include "tools/sample/access/jet_text.h"

namespace sample::access {

namespace {

// Bytes a fixed column takes in a row; Yes/No takes none (its value is its
// null-mask bit).
int fixedBytes(ColumnType type)
{
    switch (type) {
    case ColumnType::YesNo: return 0;
    case ColumnType::Byte: return 1;
    case ColumnType::Integer: return 2;
    case ColumnType::Long:
    case ColumnType::Single: return 4;
    case ColumnType::Currency:
    case ColumnType::Double:
    case ColumnType::DateTime: return 8;
    case ColumnType::Guid: return 16;
    default: return -1;
    }
}

std::string folded(const std::string& name)
{
    std::string result = name;
    for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

void checkName(const std::string& what, const std::string& name)
{
    const std::u16string units = Utf16(name);
    if (units.empty() || units.size() > 64) throw std::invalid_argument(what + " name must have 1 to 64 characters");
}

std::uint16_t storedLength(const Column& column)
{
    switch (column.type) {
    case ColumnType::Text:
        if (column.size < 1 || column.size > 255)
            throw std::invalid_argument("Text column " + column.name + " needs a size of 1 to 255");
        return static_cast<std::uint16_t>(2 * column.size);
    case ColumnType::Binary:
        if (column.size < 1 || column.size > 255)
            throw std::invalid_argument("Binary column " + column.name + " needs a size of 1 to 255");
        return static_cast<std::uint16_t>(column.size);
    case ColumnType::Memo:
    case ColumnType::Ole: return 0;
    case ColumnType::YesNo: return 1;
    default: return static_cast<std::uint16_t>(fixedBytes(column.type));
    }
}

}  // namespace

bool IsLongValue(ColumnType type)
{
    return type == ColumnType::Memo || type == ColumnType::Ole;
}

TableLayout LayOut(const TableDefinition& table)
{
    checkName("table", table.name);
    if (table.columns.empty() || table.columns.size() > 255)
        throw std::invalid_argument("table " + table.name + " needs 1 to 255 columns");
    TableLayout layout;
    std::set<std::string> names;
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        const Column& column = table.columns[i];
        checkName("column", column.name);
        if (!names.insert(folded(column.name)).second)
            throw std::invalid_argument("column " + column.name + " appears twice in " + table.name);
        if (column.autoNumber) {
            if (column.type != ColumnType::Long || layout.hasAutoNumber)
                throw std::invalid_argument("only one Long column of a table can be an AutoNumber");
            layout.hasAutoNumber = true;
        }
        ColumnLayout place{column.type, false, static_cast<std::uint16_t>(i), 0, 0, storedLength(column)};
        const int fixed = fixedBytes(column.type);
        if (fixed >= 0) {
            place.fixed = true;
            place.fixedOffset = layout.fixedSize;
            layout.fixedSize = static_cast<std::uint16_t>(layout.fixedSize + fixed);
        } else {
            place.varIndex = layout.varCount++;
        }
        layout.columns.push_back(place);
    }
    int primaries = 0;
    std::set<std::string> indexNames;
    for (const Index& index : table.indexes) {
        checkName("index", index.name);
        if (!indexNames.insert(folded(index.name)).second)
            throw std::invalid_argument("index " + index.name + " appears twice in " + table.name);
        if (index.primary && ++primaries > 1) throw std::invalid_argument(table.name + " has two primary indexes");
        if (index.columns.empty() || index.columns.size() > 10)
            throw std::invalid_argument("index " + index.name + " needs 1 to 10 columns");
        std::vector<std::uint16_t> numbers;
        for (const std::string& name : index.columns) {
            const auto found = std::find_if(table.columns.begin(), table.columns.end(),
                                            [&](const Column& c) { return folded(c.name) == folded(name); });
            if (found == table.columns.end())
                throw std::invalid_argument("index " + index.name + " names no column " + name);
            if (IsLongValue(found->type))
                throw std::invalid_argument("index " + index.name + " cannot hold the Memo or OLE column " + name);
            numbers.push_back(static_cast<std::uint16_t>(found - table.columns.begin()));
        }
        layout.indexColumns.push_back(std::move(numbers));
    }
    return layout;
}

}  // namespace sample::access
