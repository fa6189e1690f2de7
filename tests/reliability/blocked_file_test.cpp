// Files the run may not change: locked by another process, read-only, or in a
// folder where nothing can be created. Each is left exactly as it was, the run
// does not hang on it, and the next file is upgraded.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sqlite3.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "db/TovaskADODB/compaction_folder.h"
#include "patch/run_patch.h"
#include "tests/support/catalogue_folder.h"
#include "tests/support/holding_process.h"
#include "tests/support/recording_host.h"
#include "tests/support/sqlite_file.h"

namespace {

using patch::FileOutcome;
using patch_test::CatalogueFolder;
using patch_test::FileBytes;
using patch_test::RecordingHost;
using test_support::LockingProcess;
using Clock = std::chrono::steady_clock;

constexpr auto kNoHang = std::chrono::seconds(10);

bool Finished(FileOutcome outcome)
{
    return outcome == FileOutcome::Upgraded || outcome == FileOutcome::AlreadyUpgraded;
}

// Makes a folder refuse new entries. An administrator ignores permission bits,
// so for root the folder is made immutable instead.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const std::string& folder) : folder_(folder)
    {
        if (::geteuid() != 0) {
            active_ = ::chmod(folder_.c_str(), 0555) == 0;
            return;
        }
        fd_ = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (fd_ >= 0 && ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            active_ = ::ioctl(fd_, FS_IOC_SETFLAGS, &flags) == 0;
        }
    }
    ~ReadOnlyFolder()
    {
        if (fd_ >= 0) {
            int flags = 0;
            if (::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
                flags &= ~FS_IMMUTABLE_FL;
                ::ioctl(fd_, FS_IOC_SETFLAGS, &flags);
            }
            ::close(fd_);
        } else if (active_) {
            ::chmod(folder_.c_str(), 0755);
        }
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
    bool active() const { return active_; }

private:
    std::string folder_;
    int fd_ = -1;
    bool active_ = false;
};

class BlockedFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        blocked_ = folder_.Add("a.mdb", sample::Level::ReadyYesNo, 20, 10);
        other_ = folder_.Add("b.mdb", sample::Level::ReadyLong, 20, 10);
        bytes_ = FileBytes(blocked_);
    }

    // Runs the upgrade over the folder and checks what every blocked case shares.
    // Returns the blocked file's outcome and the notices shown.
    std::pair<FileOutcome, std::vector<patch_test::Notice>> RunAndCheck()
    {
        RecordingHost host(folder_.Folder());
        const auto start = Clock::now();
        patch::RunPatch(host);
        EXPECT_LT(Clock::now() - start, kNoHang);
        EXPECT_FALSE(Finished(host.outcomes.at(0)));
        EXPECT_FALSE(host.ticks.at(0));
        EXPECT_TRUE(Finished(host.outcomes.at(1))) << "the run goes on with the next file";
        EXPECT_EQ(FileBytes(blocked_), bytes_);
        return {host.outcomes.at(0), host.notices};
    }

    CatalogueFolder folder_;
    std::string blocked_;
    std::string other_;
    std::string bytes_;
};

TEST_F(BlockedFile, LockedByAnotherProcessIsLeftAloneAndUpgradedOnceFree)
{
    // A writer's reserved lock still lets the run read; an exclusive lock does not.
    for (const char* begin : {"BEGIN EXCLUSIVE", "BEGIN IMMEDIATE"}) {
        SCOPED_TRACE(begin);
        {
            LockingProcess lock(blocked_, begin);
            ASSERT_TRUE(lock.locked());
            RunAndCheck();
        }
        EXPECT_EQ(test_support::IntegrityCheck(blocked_), "ok");
    }
    const auto again = folder_.Upgrade();
    EXPECT_EQ(again->outcomes.at(0), FileOutcome::Upgraded);
}

// Another program wants to write the file just as its new copy is begun: the
// upgrade keeps the file for writing from its start to the rename, so that
// program is held off (its write can neither slip in and be lost with the old
// file nor stop the upgrade), and the file is upgraded with nothing beside it.
TEST_F(BlockedFile, WriterArrivingWhileTheFileIsWrittenAnewIsHeldOff)
{
    ::unlink(other_.c_str());  // the folder holds only the blocked file here
    std::optional<LockingProcess> writer;
    TovaskADODB::SetCompactionFolderHook([&](const std::string&) { writer.emplace(blocked_, "BEGIN IMMEDIATE"); });
    const auto host = folder_.Upgrade();
    TovaskADODB::SetCompactionFolderHook({});
    ASSERT_TRUE(writer);
    EXPECT_FALSE(writer->locked());
    writer.reset();

    EXPECT_EQ(host->outcomes.at(0), FileOutcome::Upgraded);
    EXPECT_TRUE(host->ticks.at(0));
    EXPECT_EQ(test_support::IntegrityCheck(blocked_), "ok");
    EXPECT_EQ(
        test_support::QueryRows(blocked_, "SELECT count(*) FROM pragma_table_info('FILMY') WHERE name = 'T_ORG_S'"),
        (std::vector<std::vector<test_support::Cell>>{{"1"}}));
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.Folder()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"a.mdb"});
}

TEST_F(BlockedFile, ReadOnlyFileIsSkippedInSilenceEvenForAnAdministrator)
{
    ASSERT_EQ(::chmod(blocked_.c_str(), 0444), 0);
    const auto [outcome, notices] = RunAndCheck();
    EXPECT_EQ(outcome, FileOutcome::Failed);
    EXPECT_TRUE(notices.empty());
    struct stat info {};
    ASSERT_EQ(::stat(blocked_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0444u);
}

TEST_F(BlockedFile, FolderWhereNothingCanBeCreatedChangesNothing)
{
    ::unlink(other_.c_str());  // the folder holds only the blocked file here
    const auto before = folder_.Folder();
    {
        ReadOnlyFolder readOnly(before);
        if (!readOnly.active()) GTEST_SKIP() << "this file system cannot make a folder read-only";
        RecordingHost host(before);
        const auto start = Clock::now();
        patch::RunPatch(host);
        EXPECT_LT(Clock::now() - start, kNoHang);
        EXPECT_FALSE(Finished(host.outcomes.at(0)));
        EXPECT_EQ(FileBytes(blocked_), bytes_);
    }
    EXPECT_EQ(test_support::IntegrityCheck(blocked_), "ok");
    const auto again = patch_test::RunUpgrade(before);
    EXPECT_EQ(again->outcomes.at(0), FileOutcome::Upgraded) << "nothing was left behind to block a later run";
}

}  // namespace
