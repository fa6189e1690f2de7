// Folder and file names with blanks, ';', '&', quotes and Polish letters,
// through the command-line runner: the run puts the path into a connection
// string and must still open exactly that file.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "tests/hostile/listing_host.h"
#include "tests/support/sqlite_file.h"
#include "tests/support/temp_folder.h"
#include "tools/sample/sample_catalogue.h"

namespace {

namespace fs = std::filesystem;
using hostile_test::FilmsUpgraded;
using hostile_test::RowCount;

const std::vector<std::string> kOddNames{"moje filmy.mdb",     "a;b.mdb",        "Tom & Jerry.mdb",
                                         "\"cytat\".mdb",      "'apostrof'.mdb", "Źródło łąk żółwi.mdb",
                                         "Data Source=x;.mdb", ";.mdb"};

// Runs the runner on folder without a shell, so no name needs escaping; the output is discarded.
int RunCli(const std::string& folder)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::freopen("/dev/null", "w", stdout);
        ::execl(VK_PATCH_CLI, VK_PATCH_CLI, folder.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(OddNames, CataloguesWithOddNamesInAnOddFolderAreAllUpgraded)
{
    test_support::TempFolder root;
    const fs::path folder = root / "Kopia; zapasowa & \"stara\" 'ąęł' Żółw";
    fs::create_directory(folder);
    sample::SampleOptions options;
    options.films = 8;
    options.loans = 3;
    for (const auto& name : kOddNames) sample::WriteSampleCatalogue(folder / name, options);

    EXPECT_EQ(RunCli(folder.string() + "/"), 0);

    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()),
              static_cast<std::ptrdiff_t>(kOddNames.size()))
        << "no file made under a cut-off name";
    for (const auto& name : kOddNames) {
        const auto path = (folder / name).string();
        EXPECT_TRUE(FilmsUpgraded(path)) << name;
        EXPECT_EQ(RowCount(path, "FILMY"), 8) << name;
        EXPECT_EQ(test_support::IntegrityCheck(path), "ok") << name;
    }
}

}  // namespace
