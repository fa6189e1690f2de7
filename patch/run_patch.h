#pragma once
#include "patch/patch_host.h"

namespace patch {

// The whole upgrade over the host's folder. Reports to the user through the
// host and lets no error escape.
void RunPatch(PatchHost& host);

}  // namespace patch
