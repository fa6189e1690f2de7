#pragma once
// The runner's words for what became of each file, and which of those count
// as a problem for the exit status.

#include <string>

#include "app/cli/polish_count.h"
#include "patch/catalogue_check.h"
#include "patch/patch_host.h"

namespace cli {

// The words for an outcome of the run, as a line of the report.
const char* OutcomeText(patch::FileOutcome outcome);
// The same for a file moved from the Access format, naming its kept original.
std::string MovedOutcomeText(patch::FileOutcome outcome, const std::string& keptName);
// The words for the state --check finds.
const char* StateText(patch::CatalogueState state);

// A catalogue the run leaves unfinished or does not treat (exit status 1).
bool IsProblem(patch::FileOutcome outcome);
bool IsProblem(patch::CatalogueState state);

// A file name on one line: line breaks and other control characters written as \n, \r, \xNN.
std::string PrintableName(const std::string& name);
// What becomes of a file whose name holds a line break.
extern const char* const kLineBreakNameText;

inline constexpr PolishForms kBases{"baza", "bazy", "baz"};

}  // namespace cli
