// Power cuts at every moment of an upgrade through the real runner, on a small
// folder; tools/crash-test.sh runs the long version.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/reliability/crash/crash_trial.h"
#include "tests/reliability/sanitized_build.h"

namespace {

crash::CrashTestOptions ShortRun()
{
    crash::CrashTestOptions options;
    options.runner = VK_PATCH_CLI;
    options.recorder = VK_IO_RECORDER;
    options.films = reliability::kSanitizedBuild ? 24 : 40;
    return options;
}

std::string Shown(const crash::CrashTestReport::Problem& problem)
{
    return problem.what + "\n  in " + std::to_string(problem.states) + " states, first: " + problem.firstState;
}

TEST(CrashStates, EveryPowerCutLeavesEveryCatalogueAsItWasOrUpgraded)
{
    std::ostringstream progress;
    const auto report = crash::RunCrashTest(ShortRun(), progress);
    for (const auto& problem : report.problems) ADD_FAILURE() << Shown(problem);

    // Every step of an upgrade was cut into: the transaction, the commit, the
    // compaction's copy, its sync, the rename and the folder's sync.
    const std::string catalogue = "filmy tak-nie.mdb";
    for (const std::string& step : std::vector<std::string>{
             ": journal: write", ": journal: sync", ": write", ": sync", ": journal: deleted",
             ": compaction copy: write", ": compaction copy: sync", ": compaction copy: renamed onto " + catalogue})
        EXPECT_TRUE(report.statesByStep.contains(catalogue + step)) << catalogue + step;
    EXPECT_TRUE(report.statesByStep.contains("folder: sync"));
    EXPECT_GT(report.secondRuns, 0);
    if (HasFailure()) std::cout << progress.str();
}

// The test must see what it is for: the states of a compaction that never syncs
// its copy, or that leaves the rename to the file system's leisure, fail it.
TEST(CrashStates, ACompactionWithoutItsSyncsIsCaught)
{
    for (const auto dropped : {crash::DroppedSync::AllCopySyncs, crash::DroppedSync::FolderSync}) {
        auto options = ShortRun();
        options.films = 12;
        options.dropped = dropped;
        options.stopAtFirstProblem = true;
        std::ostringstream progress;
        const auto report = crash::RunCrashTest(options, progress);
        EXPECT_FALSE(report.droppedSyncs.empty());
        EXPECT_FALSE(report.problems.empty()) << "no state shows the missing sync\n" << progress.str();
    }
}

}  // namespace
