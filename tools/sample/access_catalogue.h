#pragma once
// Writes the tables of a sample catalogue as an Access (Jet 4) file: the
// same fields, properties, indexes and rows as the SQLite samples, with the
// types the original program gave them.

#include <filesystem>
#include <optional>
#include <vector>

#include "tools/sample/access/access_file.h"
#include "tools/sample/field_definition.h"

namespace sample {

// The Access column for a catalogue field. The people's and the albums'
// keys are AutoNumbers, as the original program made them; the people's
// texts are stored without compression, the other tables' compressed where
// that is shorter, so that both forms occur in every catalogue.
access::Column AccessColumn(const FieldDefinition& field, bool keyIsAutoNumber, bool compressed);

// A catalogue value as its Access type takes it (dates from their text).
access::Value AccessValue(const FieldDefinition& field, const Value& value);

class AccessSink {
public:
    explicit AccessSink(const std::filesystem::path& file) : writer_(file) {}

    template <class Source>
    void begin(const TableDefinition<Source>& table)
    {
        begin(table.name, table.fields(), table.indexes);
    }
    void insert(const std::vector<Value>& values);
    template <class Source>
    void end(const TableDefinition<Source>&)
    {
        writer_.endTable();
    }
    void finish() { writer_.finish(); }

private:
    void begin(const std::string& name, const std::vector<FieldDefinition>& fields,
               const std::vector<IndexDefinition>& indexes);

    access::AccessWriter writer_;
    std::vector<FieldDefinition> fields_;
    std::vector<access::Value> values_;
};

}  // namespace sample
