#pragma once
// Tables of an Access (Jet 4) file as the writer takes them: columns with
// their types and properties, declared indexes, and the values of a row.

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace sample::access {

// The stored type codes of Jet 4.
enum class ColumnType : std::uint8_t {
    YesNo = 0x01,
    Byte = 0x02,
    Integer = 0x03,
    Long = 0x04,
    Currency = 0x05,
    Single = 0x06,
    Double = 0x07,
    DateTime = 0x08,
    Binary = 0x09,
    Text = 0x0A,
    Ole = 0x0B,
    Memo = 0x0C,
    Guid = 0x0F,  // Replication ID
};

struct Column {
    std::string name;
    ColumnType type = ColumnType::Long;
    int size = 0;  // Text: characters, Binary: bytes (1 to 255); ignored otherwise
    bool required = false;
    bool allowZeroLength = true;    // Text and Memo only
    bool autoNumber = false;        // Long only
    bool compressedUnicode = true;  // Text and Memo: the column allows the compressed form
};

struct Index {
    std::string name;
    std::vector<std::string> columns;  // 1 to 10
    bool primary = false;
    bool unique = false;  // a primary index is unique whatever this says
};

struct TableDefinition {
    std::string name;
    std::vector<Column> columns;  // 1 to 255
    std::vector<Index> indexes;
};

// Currency: a whole number of ten-thousandths, as stored.
struct Currency {
    std::int64_t tenThousandths = 0;
    bool operator==(const Currency&) const = default;
};

// Date/Time as stored: days since 1899-12-30, the time of day as the
// fraction; before that day the fraction still counts forward from midnight
// (-1.25 is 1899-12-29 06:00).
struct DateTime {
    double days = 0;
    bool operator==(const DateTime&) const = default;
};
DateTime MakeDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

using Binary = std::vector<std::uint8_t>;

// A Replication ID in the byte order of its stored form (the first three
// groups little-endian), which is also the order of Windows' GUID structure.
struct Guid {
    std::array<std::uint8_t, 16> bytes{};
    bool operator==(const Guid&) const = default;
};
// From "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (braces optional).
Guid GuidFromText(const std::string& text);

// Null; Yes/No; Byte, Integer, Long; Single, Double; Currency; Date/Time;
// Text and Memo as UTF-8; Binary and OLE Object; Replication ID.
using Value = std::variant<std::monostate, bool, std::int64_t, double, Currency, DateTime, std::string, Binary, Guid>;

}  // namespace sample::access
