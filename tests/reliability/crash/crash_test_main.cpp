// vidarkon-crash-test: records an upgrade of a folder of sample catalogues and
// checks every state a power cut during it can leave (docs/crash-states.md).
// Exit 0 when no state shows a problem.

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "tests/reliability/crash/crash_trial.h"

namespace {

const char* const kUsage =
    "usage: vidarkon-crash-test RUNNER RECORDER [--films N] [--big-films N] [--thorough]\n"
    "                           [--drop-sync copy|all-copy|folder] [--stop-at-first]\n"
    "  --films N        films in each catalogue upgraded in full (default 300)\n"
    "  --big-films N    one more catalogue of N films, large enough for SQLite to\n"
    "                   write it before the commit (default none)\n"
    "  --thorough       more combinations of unsynced writes at every sync\n"
    "  --drop-sync S    build the states as if the program had not made these syncs:\n"
    "                   copy: the compaction's last sync of its copy before the rename;\n"
    "                   all-copy: every sync of the copy, SQLite's too;\n"
    "                   folder: the folder's sync after the rename\n"
    "  --stop-at-first  stop at the first state that shows a problem\n";

bool ParseDropped(const std::string& text, crash::DroppedSync& dropped)
{
    if (text == "copy")
        dropped = crash::DroppedSync::CopySync;
    else if (text == "all-copy")
        dropped = crash::DroppedSync::AllCopySyncs;
    else if (text == "folder")
        dropped = crash::DroppedSync::FolderSync;
    else
        return false;
    return true;
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
        } else if (argument == "--drop-sync" && hasValue && ParseDropped(argv[i + 1], options.dropped)) {
            ++i;
        } else if (argument == "--stop-at-first") {
            options.stopAtFirstProblem = true;
        } else {
            std::cerr << kUsage;
            return 2;
        }
    }
    if (options.films < 4 || options.bigFilms < 0) {
        std::cerr << "--films must be at least 4\n";
        return 2;
    }

    const auto report = crash::RunCrashTest(options, std::cout);
    std::cout << "operations on the folder: " << report.operations << "; states tried: " << report.statesTried
              << ", distinct and checked: " << report.statesChecked
              << "; catalogues opened: " << report.cataloguesOpened << "; second runs: " << report.secondRuns
              << "\nstates tried, by the operation before the cut:\n";
    for (const auto& [step, count] : report.statesByStep) std::cout << "  " << count << "\t" << step << "\n";
    for (const auto& problem : report.problems) {
        std::cout << "PROBLEM " << problem.what << "\n";
        if (problem.states > 0)
            std::cout << "  in " << problem.states << " states, first: " << problem.firstState << "\n";
    }
    std::cout << (report.problems.empty() ? "every crash state leaves every catalogue whole\n"
                                          : std::to_string(report.problems.size()) + " PROBLEMS\n");
    return report.problems.empty() ? 0 : 1;
}
