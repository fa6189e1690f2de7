#pragma once
// The one writer of a new catalogue file: creates the file (never over an
// existing one), its tables with their declared types, streams their rows in,
// builds each table's indexes once its rows are in, writes the field
// properties and the primary indexes, and syncs the file once at the end. A
// writer not finished removes what it wrote. The file lies in a private
// folder, where no other program can change it: its pages are read back
// through mapped windows (mapped_reads.h).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/engine/field_kind.h"
#include "db/engine/sqlite_handle.h"

namespace engine {

struct NewField {
    std::string name;
    FieldKind kind;
    std::int32_t size = 0;  // characters of a Text, bytes of a Binary
    bool required = false;
    bool allowZeroLength = true;
    // An AutoNumber: a Long declared COUNTER, with the number the next row gets.
    std::optional<std::int64_t> nextCounter;
};

struct NewIndexField {
    std::string name;
    bool descending = false;
};

struct NewIndex {
    std::string name;
    std::vector<NewIndexField> fields;
    bool primary = false;
    bool unique = false;  // a primary index is unique whatever this says
};

struct NewTable {
    std::string name;
    std::vector<NewField> fields;
    std::vector<NewIndex> indexes;
};

// A value as it is stored: the caller converts it to its field's kind first
// (a Date/Time as its text, a Yes/No as 0 or 1, a Currency as ten-thousandths).
// Text and bytes are borrowed until the row is appended.
struct StoredValue {
    enum class Type : std::uint8_t { Null, Integer, Real, Text, Bytes };
    Type type = Type::Null;
    std::int64_t integer = 0;
    double real = 0;
    std::string_view bytes;

    static StoredValue Null() { return {}; }
    static StoredValue Of(std::int64_t value) { return {Type::Integer, value, 0, {}}; }
    static StoredValue Of(double value) { return {Type::Real, 0, value, {}}; }
    static StoredValue Text(std::string_view value) { return {Type::Text, 0, 0, value}; }
    static StoredValue Bytes(std::string_view value) { return {Type::Bytes, 0, 0, value}; }
};

// Whether a finished file is synced: Unsynced only for a file that is a step
// to another, which its maker syncs before it counts.
enum class Durability { Synced, Unsynced };

class CatalogueWriter {
public:
    // Creates path; EngineError (errno EEXIST) when anything has that name.
    explicit CatalogueWriter(std::string path);

    // For writing a catalogue anew from an open one (file_rewrite.h): path is an
    // empty file the caller made, with the owner and mode the new file is to
    // have; the pages are pageSize bytes (0: SQLite's default); no catalogue
    // tables are made, the caller carries its own. The engine's name collation
    // is registered, so its helpers work on handle().
    struct EmptyFileGiven {
        int pageSize = 0;
    };
    CatalogueWriter(std::string path, EmptyFileGiven given);
    ~CatalogueWriter();
    CatalogueWriter(const CatalogueWriter&) = delete;
    CatalogueWriter& operator=(const CatalogueWriter&) = delete;

    // One table at a time: begin, its rows, end.
    void beginTable(const NewTable& table);
    // One value for each field, in field order.
    void appendRow(const std::vector<StoredValue>& row);
    void endTable();

    // Commits, closes and syncs the file; it stays. Until then a failure, or
    // the writer's end, removes it.
    void finish(Durability durability = Durability::Synced);
    const std::string& path() const { return path_; }
    // The new file's connection, inside the writer's one transaction.
    sqlite3* handle() const { return db_.get(); }

private:
    void open(int pageSize);
    void discard() noexcept;

    std::string path_;
    detail::SqliteHandle db_;
    std::optional<detail::Statement> insert_;
    std::optional<NewTable> table_;
    bool finished_ = false;
};

// The declared type a new field's column gets.
std::string declaredTypeOf(const NewField& field);

}  // namespace engine
