#pragma once
#include <cstdint>

#include "patch/patch_host.h"
#include "patch/table_rebuild.h"

namespace patch {

// The films table FILMY: 44 fields, ten indexes, JEST to Long, OCENA to Text.
const RebuildItems& FilmsRebuildItems();
void UpgradeFilms(PatchHost& host, PatchComponents& components, bool jestNotBoolean);

// A Yes/No JEST read as an integer (-1 Yes, 0 No) becomes 0 for Yes, 1 for No.
std::int32_t ConvertJest(bool jestNotBoolean, std::int32_t value);

}  // namespace patch
