// The sync of the catalogue's folder fails after the compacted copy has replaced
// the file: the file is compacted all the same, and the run says so.

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "db/TovaskADODB/compaction_folder.h"
#include "patch/run_patch.h"
#include "tests/support/catalogue_folder.h"
#include "tests/support/recording_host.h"
#include "tests/support/sqlite_file.h"

namespace {

bool failFolderSyncs = false;
int failedFolderSyncs = 0;

}  // namespace

// Stands in for the C library's fsync in this test program: while
// failFolderSyncs is set a folder's sync fails; every other call is passed on.
extern "C" int fsync(int fd)
{
    struct stat info {};
    if (failFolderSyncs && ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ++failedFolderSyncs;
        errno = EIO;
        return -1;
    }
    static const auto next = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
    return next(fd);
}

namespace {

using patch::FileOutcome;

TEST(FolderSyncFault, FileReplacedByItsCompactedCopyIsReportedUpgraded)
{
    patch_test::CatalogueFolder folder;
    const auto path = folder.Add("a.mdb", sample::Level::ReadyYesNo, 30, 15);
    ino_t uncompacted = 0;
    TovaskADODB::SetCompactionFolderHook([&](const std::string&) {
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0) uncompacted = info.st_ino;
    });
    patch_test::RecordingHost host(folder.Folder());
    failFolderSyncs = true;
    patch::RunPatch(host);
    failFolderSyncs = false;
    TovaskADODB::SetCompactionFolderHook({});

    EXPECT_GT(failedFolderSyncs, 0);
    EXPECT_EQ(host.outcomes.at(0), FileOutcome::Upgraded);
    EXPECT_TRUE(host.ticks.at(0));
    EXPECT_EQ(test_support::IntegrityCheck(path), "ok");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_NE(info.st_ino, uncompacted) << "the compacted copy took the file's place";
    EXPECT_NE(uncompacted, 0u);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Folder()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"a.mdb"});
}

}  // namespace
