// A short kill loop for every test run; tools/kill-test.sh runs the long one.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>

#include "tests/patch/catalogue_folder.h"
#include "tests/patch/file_content.h"
#include "tests/reliability/kill_trial.h"
#include "tests/reliability/sanitized_build.h"

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

// A kill during compaction leaves its copy beside the file. The run leaves it
// alone (it cannot tell a copy of its own from a running compaction's) and it
// must never pass for a catalogue.
TEST(KillTest, LeftoverCompactionCopyIsNeitherListedNorTouched)
{
    patch_test::CatalogueFolder folder;
    const auto catalogue = folder.Add("a.mdb", sample::Level::ReadyYesNo, 10, 5);
    const auto leftover = folder.PathOf("mdbQ1w2E3.tmp");
    std::filesystem::copy_file(catalogue, leftover);
    const auto leftoverBytes = patch_test::FileBytes(leftover);

    const std::string command = std::string(VK_PATCH_CLI) + " '" + folder.Folder() + "' 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string output;
    std::array<char, 4096> buffer{};
    while (const auto read = fread(buffer.data(), 1, buffer.size(), pipe.get())) output.append(buffer.data(), read);
    EXPECT_EQ(pclose(pipe.release()), 0) << output;

    EXPECT_NE(output.find("W folderze " + folder.Folder() + ": 1 baza\n"), std::string::npos) << output;
    EXPECT_EQ(patch_test::FileBytes(leftover), leftoverBytes);
}

}  // namespace
