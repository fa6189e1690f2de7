#pragma once
#include "patch/patch_components.h"
#include "patch/patch_host.h"

namespace patch {

// The whole upgrade over the host's folder, with database components of its
// own for the length of the run. Reports to the user through the
// host and lets no error escape.
void RunPatch(PatchHost& host);
// The same with database components the caller lends, for tests that look
// into the file while the run holds it.
void RunPatch(PatchHost& host, PatchComponents& components);

}  // namespace patch
