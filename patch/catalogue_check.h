#pragma once
// A look at a catalogue file that changes nothing: how far it has come, and
// what the upgrade would make of it.

#include <string>

namespace TovaskADODB {
class TTovaskADOBase;
class TTovaskADOTable;
}  // namespace TovaskADODB

namespace patch {

enum class CatalogueState {
    CannotOpen,                // detail: the cause (not a database, locked, unreadable, ...)
    NotCatalogue,              // no table FILMY
    LacksEarlierPatch,         // detail: the notice naming the patch
    NeedsUpgrade,              // both tables will be upgraded
    NeedsUpgradeWithoutLoans,  // no WYPOZYCZ: the films table only, the file left unticked
    CannotUpgrade,             // needs the upgrade, which cannot be made; detail: the cause
    AlreadyUpgraded,
    FilmsTableDamaged,  // detail: the cause (no JEST, T_ORG_S without OCENA, unreadable, ...)
};

struct CatalogueCheck {
    CatalogueState state;
    std::string detail;
};

// db and table are scratch components; both are left closed.
CatalogueCheck CheckCatalogue(TovaskADODB::TTovaskADOBase& db, TovaskADODB::TTovaskADOTable& table,
                              const std::string& path);

// The connection string of a catalogue file.
std::string CatalogueConnectionString(const std::string& path);

}  // namespace patch
