#pragma once
// Refusals that a catalogue's own structure causes, found before anything is
// changed. The run and the check ask the same function, so that the check
// foresees every such refusal of the run, with the same cause.

#include <optional>
#include <string>
#include <vector>

namespace TovaskADODB {
class TTovaskADOBase;
}  // namespace TovaskADODB

namespace patch {

struct StructureRefusal {
    std::string table;  // the stored name of the table whose upgrade cannot be made
    std::string cause;  // in Polish, with what the user can do
};

// db is open on a catalogue whose films table needs the upgrade; tableNames
// are its tables. jestNotBoolean as the films table's level says.
std::optional<StructureRefusal> FindStructureRefusal(TovaskADODB::TTovaskADOBase& db,
                                                     const std::vector<std::string>& tableNames, bool jestNotBoolean);

}  // namespace patch
