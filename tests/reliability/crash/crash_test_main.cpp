// vidarkon-crash-test: records an upgrade of a folder of sample catalogues and
// checks every state a power cut during it can leave (docs/crash-states.md).
// Exit 0 when no state shows a problem (and, with --mutations, each left-out
// sync is caught).

#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "tests/reliability/crash/crash_trial.h"

namespace {

const char* const kUsage =
    "usage: vidarkon-crash-test RUNNER RECORDER [--films N] [--big-films N] [--thorough] [--mutations]\n"
    "  --films N      films in each catalogue upgraded in full (default 300)\n"
    "  --big-films N  one more catalogue of N films, large enough for SQLite to\n"
    "                 write it before the commit (default none)\n"
    "  --thorough     more combinations of unsynced writes at every sync\n"
    "  --mutations    then build the states again as if the program had not made\n"
    "                 some syncs: every sync of each compacted copy, only the\n"
    "                 compaction's own sync of the copy, and the folder's sync\n"
    "                 after its rename; each must be caught\n";

const char* Name(crash::DroppedSync dropped)
{
    switch (dropped) {
    case crash::DroppedSync::None: return "none";
    case crash::DroppedSync::CopySync: return "the compaction's own sync of its copy";
    case crash::DroppedSync::AllCopySyncs: return "every sync of the compacted copy";
    case crash::DroppedSync::FolderSync: return "the folder's sync after the rename";
    }
    return "";
}

void Print(const crash::CrashProblem& problem)
{
    std::cout << "PROBLEM " << problem.what << "\n";
    if (problem.states > 0) std::cout << "  in " << problem.states << " states, first: " << problem.firstState << "\n";
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << kUsage;
        return 2;
    }
    crash::CrashTestOptions options;
    options.runner = argv[1];
    options.recorder = argv[2];
    for (int i = 3; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--films" && hasValue) {
            options.films = std::atoi(argv[++i]);
        } else if (argument == "--big-films" && hasValue) {
            options.bigFilms = std::atoi(argv[++i]);
        } else if (argument == "--thorough") {
            options.thorough = true;
        } else if (argument == "--mutations") {
            options.mutations = {crash::DroppedSync::AllCopySyncs, crash::DroppedSync::FolderSync,
                                 crash::DroppedSync::CopySync};
        } else {
            std::cerr << kUsage;
            return 2;
        }
    }
    if (options.films < 4 || options.bigFilms < 0) {
        std::cerr << "--films must be at least 4\n";
        return 2;
    }

    crash::CrashTestReport report;
    try {
        report = crash::RunCrashTest(options, std::cout);
    } catch (const std::exception& error) {
        std::cerr << "the test could not run: " << error.what() << "\n";
        return 2;
    }
    const auto& found = report.recorded;
    std::cout << "operations on the folder: " << report.operations << "; states tried: " << found.statesTried
              << ", distinct and checked: " << found.statesChecked << "; catalogues opened: " << report.cataloguesOpened
              << "; second runs: " << report.secondRuns << "\nstates tried, by the operation before the cut:\n";
    for (const auto& [step, count] : found.statesByStep) std::cout << "  " << count << "\t" << step << "\n";
    for (const auto& problem : found.problems) Print(problem);
    std::cout << (found.problems.empty() ? "every crash state leaves every catalogue whole\n"
                                         : std::to_string(found.problems.size()) + " PROBLEMS\n");

    bool missed = false;
    for (const auto& mutation : report.mutations) {
        std::cout << "== left out: " << Name(mutation.dropped) << "\n";
        for (const auto& sync : mutation.droppedSyncs) std::cout << "  " << sync << "\n";
        for (const auto& problem : mutation.found.problems) Print(problem);
        // The compaction has SQLite write its copy unsynced: its own sync is
        // the copy's only one, and leaving it out must show as much as
        // leaving out all of them.
        const bool caught = !mutation.found.problems.empty();
        std::cout << (caught ? "caught\n" : "NOT CAUGHT\n");
        missed = missed || !caught;
    }
    return found.problems.empty() && !missed ? 0 : 1;
}
