#pragma once
// The row face: a static recordset over the rows of a table, which stay in the
// file and are read a batch at a time (row_source.h).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "db/engine/field_kind.h"
#include "db/engine/variant.h"

namespace engine {

class Connection;
class DatabaseFile;

struct RecordsetField {
    std::string name;
    FieldKind kind;
    std::int32_t size;  // characters for Text, 0 otherwise
};

class StaticRecordset {
public:
    StaticRecordset();
    ~StaticRecordset();
    StaticRecordset(const StaticRecordset&) = delete;
    StaticRecordset& operator=(const StaticRecordset&) = delete;

    // Opens the table's rows (name compared with letter case ignored): those
    // there now, and those appended through it or its clones later.
    void open(const Connection& connection, const std::string& tableName);
    // Shares the rows of an open source; they stay readable when the source
    // closes and when the stored table changes or is emptied. Reading them
    // keeps the file open.
    void cloneFrom(const StaticRecordset& source);
    // Releases the rows and the hold on the file.
    void close();
    bool isOpen() const;

    const std::vector<RecordsetField>& fields() const;
    int recordCount() const;

    void first();
    void next();
    bool eof() const;

    // Field at a position of the current row; EngineError out of range or at eof.
    const Variant& value(int position) const;
    // As integer: Yes/No gives -1 or 0, null gives 0.
    std::int32_t valueAsInteger(int position) const;

    // Appends and posts one row: one value per field, converted to each field's kind.
    void append(const std::vector<Variant>& values);

private:
    void prepareInsert();

    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace engine
