#pragma once
#include "patch/patch_host.h"
#include "patch/table_rebuild.h"

namespace patch {

// The loans table WYPOZYCZ: its five fields and a new ID_CD.
const RebuildItems& LoansRebuildItems();
void UpgradeLoans(PatchHost& host, PatchComponents& components, bool jestNotBoolean);

}  // namespace patch
