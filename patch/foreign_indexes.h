#pragma once
// Why a rebuilt table did not get its target structure: an index that another
// tool put on a field keeps that field from being deleted.

#include <string>
#include <vector>

#include "db/engine/schema.h"

namespace TovaskADODB {
class TTovaskADOTable;
}

namespace patch {

// The cause for a table whose fields came out in the wrong order: the indexes of
// the stored table not named in ownIndexes, by name and field, when there are any.
std::string WrongStructureCause(const TovaskADODB::TTovaskADOTable& table, const std::vector<std::string>& ownIndexes);

// The cause for indexes of another tool, at least one, that keep fields of
// the table from being deleted.
std::string ForeignIndexesCause(const std::string& table, const std::vector<engine::Index>& foreign);

}  // namespace patch
