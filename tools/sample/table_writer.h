#pragma once
// Writes one table in the catalogue file format: the table with its declared
// types, its rows (checked against the fields' kinds, sizes and properties),
// its indexes named "T.I", and its rows in MSysFields and MSysIndexes.

#include <string>
#include <vector>

#include "tools/sample/field_definition.h"
#include "tools/sample/sqlite_file.h"

namespace sample {

class TableWriter {
public:
    TableWriter(SqliteFile& file, std::string table, std::vector<FieldDefinition> fields);

    // One value per field, in field order. A value its field cannot hold is a
    // fault of the generator: std::logic_error, naming table and field.
    void insert(const std::vector<Value>& values);

private:
    std::string table_;
    std::vector<FieldDefinition> fields_;
    Statement insert_;
};

void CreateIndexes(SqliteFile& file, const std::string& table, const std::vector<IndexDefinition>& indexes);

// The engine's own tables; both optional in the format.
void CreatePropertyTables(SqliteFile& file);
void RecordProperties(SqliteFile& file, const std::string& table, const std::vector<FieldDefinition>& fields,
                      const std::vector<IndexDefinition>& indexes);

}  // namespace sample
