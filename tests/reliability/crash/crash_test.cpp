// Power cuts at every moment of an upgrade through the real runner, on a small
// folder; tools/crash-test.sh runs the long version.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/reliability/crash/crash_trial.h"
#include "tests/reliability/sanitized_build.h"

namespace {

std::string Shown(const crash::CrashProblem& problem)
{
    return problem.what + "\n  in " + std::to_string(problem.states) + " states, first: " + problem.firstState;
}

// One recording serves both: the states of the upgrade as made, and the same
// states as if the compaction had left its copy, or the folder, unsynced; the
// test must see those.
TEST(CrashStates, EveryPowerCutLeavesEveryCatalogueAsItWasOrUpgraded)
{
    crash::CrashTestOptions options;
    options.runner = VK_PATCH_CLI;
    options.recorder = VK_IO_RECORDER;
    options.films = reliability::kSanitizedBuild ? 16 : 40;
    options.mutations = {crash::DroppedSync::CopySync, crash::DroppedSync::FolderSync};
    std::ostringstream progress;
    const auto report = crash::RunCrashTest(options, progress);

    for (const auto& problem : report.recorded.problems) ADD_FAILURE() << Shown(problem);
    // Every step of an upgrade was cut into: the new file's writes, its sync,
    // its rename onto the catalogue and the folder's sync. The catalogue
    // itself is never written, nor given a journal.
    const std::string catalogue = "filmy tak-nie.mdb";
    for (const std::string& step : std::vector<std::string>{": compaction copy: write", ": compaction copy: sync",
                                                            ": compaction copy: renamed onto " + catalogue})
        EXPECT_TRUE(report.recorded.statesByStep.contains(catalogue + step)) << catalogue + step;
    // (A catalogue moved from Access is written new in the run's private folder.)
    for (const auto& [step, count] : report.recorded.statesByStep)
        EXPECT_TRUE(step.starts_with(".vidarkon-konwersja-") ||
                    (step.find(": journal") == std::string::npos && !step.ends_with(".mdb: write")))
            << step;
    EXPECT_TRUE(report.recorded.statesByStep.contains("folder: sync"));
    // The move from the Access format: the new catalogue takes the kept name,
    // then trades names with the original.
    const std::string access = "archiwum Access.mdb";
    EXPECT_TRUE(report.recorded.statesByStep.contains(access + ": exchanged with " + access + ".oryginal-access"));
    EXPECT_GT(report.secondRuns, 0);

    ASSERT_EQ(report.mutations.size(), 2u);
    for (const auto& mutation : report.mutations) {
        EXPECT_FALSE(mutation.droppedSyncs.empty());
        EXPECT_FALSE(mutation.found.problems.empty()) << "no state shows the missing sync";
    }
    if (HasFailure()) std::cout << progress.str();
}

}  // namespace
