#pragma once
// An Access (Jet 4) file read through libmdb, in the documented format's
// terms: its user tables, their fields in stored order, their indexes, and
// their rows streamed one data page at a time. Every value is carried exactly
// or the file is refused (EAccessRefused, with a Polish cause).

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/engine/catalogue_writer.h"
#include "db/engine/field_kind.h"

namespace accessdb {

struct AccessField {
    std::string name;
    engine::FieldKind kind;
    std::int32_t size = 0;  // characters of a Text, bytes of a Binary
    bool required = false;
    bool allowZeroLength = true;
    bool autoNumber = false;  // a Long numbered by the other program
};

struct AccessIndexField {
    std::string name;
    bool descending = false;
};

struct AccessIndex {
    std::string name;
    std::vector<AccessIndexField> fields;
    bool primary = false;
    bool unique = false;
};

struct AccessTable {
    std::string name;
    std::vector<AccessField> fields;
    std::vector<AccessIndex> indexes;
    std::int64_t rowCount = 0;                   // as the table's definition counts them
    std::optional<std::int64_t> nextAutoNumber;  // when a field is an AutoNumber
};

class AccessFile {
public:
    // Opens and lists the file; EAccessRefused for a file that is not one, is
    // damaged, encrypted, of another version than Jet 4, or holds a table,
    // type or name that cannot be carried.
    explicit AccessFile(const std::string& path);
    ~AccessFile();
    AccessFile(const AccessFile&) = delete;
    AccessFile& operator=(const AccessFile&) = delete;

    // The user tables, in the file's catalogue order.
    const std::vector<AccessTable>& tables() const { return tables_; }

    // The table's rows in stored order, each as one value per field in the
    // documented format's stored form (see engine::StoredValue); a row's values
    // are valid during the call only. EAccessRefused for a value that cannot
    // be carried or a damaged table.
    using RowSink = std::function<void(const std::vector<engine::StoredValue>&)>;
    void readRows(std::size_t table, const RowSink& onRow);

private:
    struct Handle;
    std::unique_ptr<Handle> handle_;
    std::vector<AccessTable> tables_;
};

}  // namespace accessdb
