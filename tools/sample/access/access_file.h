#pragma once
// Writes an Access (Jet 4) database file from table definitions and rows,
// with its system catalogue, so that tests can make the files users have.
// Tables are written one after the other, their rows streamed.

#include <filesystem>
#include <memory>
#include <vector>

#include "tools/sample/access/access_table.h"

namespace sample::access {

struct WriterOptions {
    DateTime created = MakeDateTime(2008, 6, 30, 12, 0, 0);  // DateCreate of the catalogue's rows
};

class AccessWriter {
public:
    // Creates the file (an existing one is emptied). It is an Access file
    // only once finish() has returned.
    explicit AccessWriter(const std::filesystem::path& file, WriterOptions options = {});
    ~AccessWriter();
    AccessWriter(const AccessWriter&) = delete;
    AccessWriter& operator=(const AccessWriter&) = delete;

    // Refused with std::invalid_argument: a bad definition, a name taken or
    // beginning with MSys, a table still open.
    void beginTable(const TableDefinition& table);
    // One value per column, in column order; see Value for which
    // alternative each type takes.
    void addRow(const std::vector<Value>& values);
    void endTable();
    void finish();

private:
    struct State;
    std::unique_ptr<State> state_;
};

struct TableContents {
    TableDefinition definition;
    std::vector<std::vector<Value>> rows;
};

void WriteAccessFile(const std::filesystem::path& file, const std::vector<TableContents>& tables,
                     WriterOptions options = {});

}  // namespace sample::access
