#pragma once
// The three database components the patch run works with, set up as the main
// window holds them.

#include "db/TovaskADODB/TovaskADODB.h"

namespace patch {

struct PatchComponents {
    PatchComponents();

    TovaskADODB::TTovaskADOBase dbFilm{"dbFilm"};
    TovaskADODB::TTovaskADOTable mdbFilmy{"mdbFilmy"};
    TovaskADODB::TTovaskADOTable mdbClone{"mdbClone"};
};

}  // namespace patch
