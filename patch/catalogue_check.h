#pragma once
// A look at a catalogue file that changes nothing: how far it has come.

#include <string>

namespace TovaskADODB {
class TTovaskADOBase;
class TTovaskADOTable;
}  // namespace TovaskADODB

namespace patch {

enum class CatalogueState {
    CannotOpen,         // not a database, damaged, locked or unreadable
    NotCatalogue,       // no table FILMY
    LacksEarlierPatch,  // detail: the notice naming the patch
    NeedsUpgrade,       // detail: empty, or that WYPOZYCZ is missing
    AlreadyUpgraded,
    FilmsTableDamaged,  // FILMY without JEST, or with T_ORG_S but without OCENA
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
