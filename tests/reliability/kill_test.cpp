// A short kill loop for every test run; tools/kill-test.sh runs the long one.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "db/TovaskADODB/TovaskADODB.h"
#include "tests/reliability/kill_trial.h"
#include "tests/reliability/sanitized_build.h"
#include "tests/support/catalogue_folder.h"
#include "tests/support/command_run.h"
#include "tests/support/sqlite_file.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(KillTest, EveryFileStaysWholeWhenTheRunnerIsKilled)
{
    reliability::KillTestOptions options;
    options.runner = VK_PATCH_CLI;
    options.kills = 5;
    options.seed = 2024;
    options.films = reliability::kSanitizedBuild ? 250 : 600;
    std::ostringstream progress;
    const auto report = reliability::RunKillTest(options, progress);
    EXPECT_EQ(report.kills, 5);
    for (const auto& problem : report.problems) ADD_FAILURE() << problem;
    EXPECT_GT(report.filesAsBefore + report.filesUpgraded, 0);
    if (HasFailure()) std::cout << progress.str();
}

// A kill during compaction leaves its folder, with part of the copy, beside the
// catalogue; the next run removes it. A file that only looks like a copy (the
// temporary name of earlier versions) cannot be proven to be one: the run
// neither lists nor touches it.
TEST(KillTest, NextRunRemovesWhatAKilledCompactionLeftAndNothingElse)
{
    patch_test::CatalogueFolder folder;
    const auto catalogue = folder.Add("a.mdb", sample::Level::ReadyYesNo, 10, 5);
    const auto lookalike = folder.PathOf("mdbQ1w2E3.tmp");
    std::filesystem::copy_file(catalogue, lookalike);
    const auto lookalikeBytes = patch_test::FileBytes(lookalike);
    const pid_t compaction = ::fork();
    ASSERT_GE(compaction, 0);
    if (compaction == 0) {
        TovaskADODB::SetCompactionFolderHook([](const std::string& copyPath) {
            std::ofstream(copyPath) << "the first pages of the copy";
            std::ofstream(copyPath + "-journal") << "and of its journal";
            ::raise(SIGKILL);
        });
        TovaskADODB::TTovaskADOBase("dbFilm").Compact(catalogue, "");
        _exit(0);
    }
    int status = 0;
    ::waitpid(compaction, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(test_support::SortedEntries(folder.Folder()).size(), 3u);

    const auto run =
        test_support::RunCommand(std::string(VK_PATCH_CLI) + " " + test_support::ShellQuoted(folder.Folder()));
    const auto& output = run.output;
    EXPECT_EQ(run.status, 0) << output;

    EXPECT_NE(output.find("W folderze " + folder.Folder() + ": 1 baza\n"), std::string::npos) << output;
    EXPECT_EQ(test_support::SortedEntries(folder.Folder()), (std::vector<std::string>{"a.mdb", "mdbQ1w2E3.tmp"}));
    EXPECT_EQ(patch_test::FileBytes(lookalike), lookalikeBytes);
}

}  // namespace
