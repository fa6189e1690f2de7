// vidarkon-kill-test RUNNER [KILLS] [SEED] [FILMS]: kills the command-line runner
// at random moments and checks the files after every kill. Exit 0 when every
// file stayed whole.

#include <cstdlib>
#include <iostream>
#include <string>

#include "tests/reliability/kill_trial.h"

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 5) {
        std::cerr << "usage: vidarkon-kill-test RUNNER [KILLS=50] [SEED=1] [FILMS=3000]\n";
        return 2;
    }
    reliability::KillTestOptions options;
    options.runner = argv[1];
    if (argc > 2) options.kills = std::atoi(argv[2]);
    if (argc > 3) options.seed = std::strtoull(argv[3], nullptr, 10);
    if (argc > 4) options.films = std::atoi(argv[4]);
    if (options.kills < 1 || options.films < 1) {
        std::cerr << "KILLS and FILMS must be positive\n";
        return 2;
    }
    const auto report = reliability::RunKillTest(options, std::cout);
    std::cout << "kills: " << report.kills << ", finished before the kill: " << report.finishedBeforeKill
              << ", files as before: " << report.filesAsBefore << ", upgraded: " << report.filesUpgraded
              << ", compaction folders left for the next run: " << report.leftoverTemporaries << "\n";
    for (const auto& problem : report.problems) std::cout << "PROBLEM " << problem << "\n";
    std::cout << (report.problems.empty() ? "every file stayed whole\n" : "FILES DAMAGED\n");
    return report.problems.empty() ? 0 : 1;
}
