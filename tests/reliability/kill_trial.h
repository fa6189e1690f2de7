#pragma once
// Kills the command-line runner with SIGKILL at seeded random moments of its
// run over a folder of sample catalogues, and checks after every kill that each
// file is whole (as it was, or fully upgraded) and that a second run finishes it.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace reliability {

struct KillTestOptions {
    std::string runner;  // path of vidarkon-patch-cli
    int kills = 50;
    std::uint64_t seed = 1;
    int films = 3000;  // per catalogue; loans are half of it
};

struct KillTestReport {
    int kills = 0;
    int finishedBeforeKill = 0;
    int filesAsBefore = 0;  // summed over kills and files
    int filesUpgraded = 0;
    int leftoverTemporaries = 0;  // compaction folders found after a kill, for the next run to remove
    std::vector<std::string> problems;
};

// progress gets one line per kill.
KillTestReport RunKillTest(const KillTestOptions& options, std::ostream& progress);

}  // namespace reliability
