#pragma once
// How far a films table has come: which earlier patch it lacks, or whether it
// still needs this upgrade.

#include <functional>
#include <optional>
#include <string>

#include "db/engine/field_kind.h"

namespace TovaskADODB {
class TTovaskADOTable;
}

namespace patch {

struct EarlierPatch {
    const char* field;   // the field that patch added
    const char* notice;  // "%s" stands for the table's stored name
};

struct FilmsLevel {
    enum Kind { LacksEarlierPatch, NeedsUpgrade, AtTarget };
    Kind kind;
    const EarlierPatch* missing = nullptr;  // for LacksEarlierPatch
    bool jestNotBoolean = false;            // when the three patches are there
};

// Reads the fields of the open films table. A table without JEST, or with
// T_ORG_S but without OCENA, is an error (StructureError).
FilmsLevel ClassifyFilms(const TovaskADODB::TTovaskADOTable& films);

// The same over any films table: kindOf gives a field's kind by its name, or
// nothing when the table has no such field.
using FieldKindOf = std::function<std::optional<engine::FieldKind>(const std::string&)>;
FilmsLevel ClassifyFilms(const std::string& tableName, const FieldKindOf& kindOf);

}  // namespace patch
