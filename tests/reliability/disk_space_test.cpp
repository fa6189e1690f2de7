// Room on the disk: the upgrade needs the old file and the new one beside it,
// and no more. On a file system a little over twice the catalogue it
// finishes; on one of one and a half times it cannot, and then it leaves the
// catalogue as it was, says the disk is full and leaves nothing behind.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/catalogue_folder.h"

namespace {

namespace fs = std::filesystem;
using patch::FileOutcome;
using patch_test::CatalogueFolder;
using patch_test::FileBytes;
using patch_test::IntegrityCheck;
using test_support::TempFolder;

// A tmpfs of a given size over a folder, for the test's life.
class SmallFileSystem {
public:
    SmallFileSystem(const fs::path& where, std::uintmax_t bytes) : where_(where)
    {
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
        mounted_ = ::mount("tmpfs", where_.c_str(), "tmpfs", 0, options.c_str()) == 0;
        if (!mounted_) error_ = std::strerror(errno);
    }
    ~SmallFileSystem()
    {
        if (mounted_) ::umount2(where_.c_str(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;
    bool mounted() const { return mounted_; }
    const std::string& error() const { return error_; }

private:
    fs::path where_;
    bool mounted_ = false;
    std::string error_;
};

TEST(DiskSpace, TheUpgradeNeedsRoomForTheOldFileAndTheNewOneOnly)
{
    if (::geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
    CatalogueFolder source;
    const std::string original = source.Add("a.mdb", sample::Level::ReadyYesNo, 4000, 4000);
    const auto size = fs::file_size(original);

    struct Case {
        double times;
        bool finishes;
    };
    for (const Case room : {Case{2.2, true}, Case{1.5, false}}) {
        SCOPED_TRACE("a file system of " + std::to_string(room.times) + " times the catalogue");
        TempFolder mountPoint;
        const SmallFileSystem small(mountPoint.path(),
                                    static_cast<std::uintmax_t>(static_cast<double>(size) * room.times));
        if (!small.mounted()) GTEST_SKIP() << "a tmpfs cannot be mounted here: " << small.error();
        const std::string path = mountPoint.file("a.mdb");
        fs::copy_file(original, path);
        const std::string before = FileBytes(path);

        const auto host = patch_test::RunUpgrade(mountPoint.folder());

        if (room.finishes) {
            EXPECT_EQ(host->outcomes.at(0), FileOutcome::Upgraded) << host->causes.at(0);
            EXPECT_EQ(IntegrityCheck(path), "ok");
        } else {
            EXPECT_NE(host->outcomes.at(0), FileOutcome::Upgraded);
            EXPECT_FALSE(host->ticks.at(0));
            EXPECT_EQ(FileBytes(path), before);
            EXPECT_THAT(host->causes.at(0), ::testing::HasSubstr("brak miejsca na dysku"));
        }
        // Neither the new file nor its folder stays, nor a journal.
        EXPECT_EQ(mountPoint.entries(), std::vector<std::string>{"a.mdb"});
    }
}

}  // namespace
