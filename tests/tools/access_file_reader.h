#pragma once
// Reads Access files through mdbtools alone: libmdb linked directly, and
// mdb-export and mdb-schema run as programs, so that what the writer writes
// is checked by the library the tool reads Access files with.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace access_test {

constexpr const char* nullText = "<null>";

struct ColumnInfo {
    std::string name;
    int type;  // the stored type code
    int size;  // bytes, as libmdb reports it
    bool autoNumber;
    std::string required;         // the property as libmdb shows it: "yes", "no" or "" when absent
    std::string allowZeroLength;  // likewise
};

struct IndexInfo {
    std::string name;
    std::vector<std::string> columns;
    bool primary;
    bool unique;
};

// Values as text: dates "YYYY-MM-DD HH:MM:SS", Yes/No "1" or "0", OLE
// Object and Binary as lower-case hex, and nullText for a null, told from an
// empty text by the row's null mask.
using Row = std::vector<std::string>;

class MdbFile {
public:
    explicit MdbFile(const std::filesystem::path& file);
    ~MdbFile();
    MdbFile(const MdbFile&) = delete;
    MdbFile& operator=(const MdbFile&) = delete;

    std::vector<std::string> userTables() const;  // in catalogue order
    std::vector<std::string> systemTables() const;
    std::vector<ColumnInfo> columns(const std::string& table) const;
    std::vector<IndexInfo> indexes(const std::string& table) const;
    std::vector<Row> rows(const std::string& table) const;
    // How each row keeps a Memo or OLE column: 0x80 inline, 0x40 on one
    // LVAL page, 0x00 on a chain of them; -1 for a null.
    std::vector<int> longValueKinds(const std::string& table, const std::string& column) const;
    int usageMapType(const std::string& table) const;
    unsigned long definitionPage(const std::string& table) const;

private:
    struct Handle;
    std::unique_ptr<Handle> handle_;
};

// mdb-export's CSV, parsed: dates as above, binary as hex, nulls (and, as
// mdb-export cannot tell them apart, empty texts) as nullText; the first row
// the column names. Throws when the program fails or writes to stderr.
std::vector<Row> MdbExport(const std::filesystem::path& file, const std::string& table);
// mdb-schema's output for the given backend.
std::string MdbSchema(const std::filesystem::path& file, const std::string& backend);

}  // namespace access_test
