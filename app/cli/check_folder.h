#pragma once
#include <ostream>

#include "app/cli/cli_options.h"

namespace cli {

// --check: one line for each catalogue of the folder, changing nothing. Returns
// the exit status: 0 when every catalogue can be upgraded or already is.
int CheckFolder(const CliOptions& options, std::ostream& out);

}  // namespace cli
