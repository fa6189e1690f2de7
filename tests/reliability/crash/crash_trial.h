#pragma once
// The crash-state test: records every call the command-line runner makes on a
// folder of sample catalogues while it upgrades them, then, for each point of
// that log, builds the folders a power cut there can leave on the disk and
// checks each one (docs/crash-states.md).

#include <cstddef>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace crash {

// Syncs left out of the recorded log, to show that the test misses no fault of
// the kind: the states are built as if the program had never made them.
enum class DroppedSync {
    None,
    CopySync,      // the last sync of each compacted copy before its rename (the compaction's own)
    AllCopySyncs,  // every sync of each compacted copy (also those SQLite makes while writing it)
    FolderSync,    // the first sync of the folder after each rename onto a catalogue
};

struct CrashTestOptions {
    std::string runner;     // vidarkon-patch-cli
    std::string recorder;   // the I/O recorder library, preloaded into the runner
    int films = 300;        // in each of the two catalogues upgraded in full
    int bigFilms = 0;       // > 0: one more catalogue, large enough that SQLite writes it before the commit
    bool thorough = false;  // more combinations of unsynced writes at every sync
    // After the log as recorded, the same log with these syncs left out, each in
    // turn, until a state shows a problem the log as recorded does not.
    std::vector<DroppedSync> mutations;
};

struct CrashProblem {
    std::string what{};
    std::string firstState{};  // the first state that showed it
    std::size_t states = 0;    // how many did
};

// What one walk over the log found.
struct StatesFound {
    std::size_t statesTried = 0;
    std::size_t statesChecked = 0;                    // distinct ones
    std::map<std::string, std::size_t> statesByStep;  // states tried, by the operation before the cut
    std::vector<CrashProblem> problems;               // in the order found
};

struct CrashTestReport {
    std::size_t operations = 0;  // calls that change the folder
    StatesFound recorded;        // the log as recorded
    struct Mutation {
        DroppedSync dropped{};
        std::vector<std::string> droppedSyncs{};
        StatesFound found{};  // stopped at the first problem the log as recorded does not show
    };
    std::vector<Mutation> mutations;
    int cataloguesOpened = 0;
    int secondRuns = 0;
};

CrashTestReport RunCrashTest(const CrashTestOptions& options, std::ostream& progress);

}  // namespace crash
