// Every write, sync and truncate of a run over one catalogue fails in turn:
// the file must end as it was or fully upgraded, and the next file must be
// upgraded regardless.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "db/engine/database_file.h"
#include "patch/run_patch.h"
#include "tests/patch/catalogue_folder.h"
#include "tests/patch/file_content.h"
#include "tests/patch/recording_host.h"
#include "tests/reliability/fault_vfs.h"
#include "tests/reliability/file_state.h"
#include "tests/reliability/sanitized_build.h"
#include "tests/support/temp_folder.h"

namespace {

using patch::FileOutcome;
using reliability::FaultKind;
using reliability::FaultPlan;
using reliability::FaultVfs;

// Faults hit only the first file: they stop when its treatment ends.
class FirstFileFaultHost : public patch_test::RecordingHost {
public:
    FirstFileFaultHost(std::string folder, FaultVfs& vfs) : RecordingHost(std::move(folder)), vfs_(vfs) {}

    void FileFinished(int index, FileOutcome outcome) override
    {
        RecordingHost::FileFinished(index, outcome);
        if (index == 0) {
            firstFileCalls = vfs_.Calls();
            vfs_.Disarm();
        }
    }
    int firstFileCalls = 0;

private:
    FaultVfs& vfs_;
};

class FaultInjection : public ::testing::TestWithParam<FaultKind> {
protected:
    void SetUp() override
    {
        originals_.Add("a.mdb", sample::Level::ReadyYesNo, 12, 6);
        originals_.Add("b.mdb", sample::Level::ReadyLong, 8, 4);
        before_ = reliability::FolderContents(std::filesystem::path(originals_.Folder()));

        test_support::TempFolder reference;
        reliability::CopyFolderFiles(std::filesystem::path(originals_.Folder()), reference.path());
        FirstFileFaultHost host(reference.folder(), vfs_);
        vfs_.Arm({});
        patch::RunPatch(host);
        ASSERT_EQ(host.outcomes, (std::vector<FileOutcome>{FileOutcome::Upgraded, FileOutcome::Upgraded}));
        upgraded_ = reliability::FolderContents(reference.path());
        injectionPoints_ = host.firstFileCalls;
    }

    FaultVfs vfs_;
    patch_test::CatalogueFolder originals_;
    std::map<std::string, std::string> before_;
    std::map<std::string, std::string> upgraded_;
    int injectionPoints_ = 0;
};

TEST_P(FaultInjection, EveryFailedCallLeavesTheFileWholeAndTheRunGoesOn)
{
    ASSERT_GT(injectionPoints_, 10);
    // The sanitized build is several times slower: it visits every fifth point.
    const int stride = reliability::kSanitizedBuild ? 5 : 1;
    int failedRuns = 0;
    for (int point = 1; point <= injectionPoints_; point += stride) {
        SCOPED_TRACE("fault at call " + std::to_string(point));
        test_support::TempFolder folder;
        reliability::CopyFolderFiles(std::filesystem::path(originals_.Folder()), folder.path());
        FirstFileFaultHost host(folder.folder(), vfs_);
        vfs_.Arm(FaultPlan{point, GetParam()});
        patch::RunPatch(host);
        vfs_.Disarm();

        // A full disk may leave a hot journal, which the next open rolls back.
        auto entries = folder.entries();
        std::erase(entries, "a.mdb-journal");
        EXPECT_EQ(entries, (std::vector<std::string>{"a.mdb", "b.mdb"})) << "no file lost, no copy left";
        const auto after = reliability::FolderContents(folder.path());
        const std::string& a = after.at("a.mdb");
        EXPECT_TRUE(a == before_.at("a.mdb") || a == upgraded_.at("a.mdb"));
        if (host.outcomes[0] == FileOutcome::Upgraded)
            EXPECT_EQ(a, upgraded_.at("a.mdb"));
        else
            ++failedRuns;
        // However it ends, a full disk is named as the cause.
        if (host.outcomes[0] != FileOutcome::Upgraded && GetParam() == FaultKind::DiskFull) {
            EXPECT_EQ(host.causes[0], "brak miejsca na dysku: zwolnij miejsce i uruchom program ponownie");
        }
        EXPECT_EQ(patch_test::IntegrityCheck(folder.file("a.mdb")), "ok");
        EXPECT_EQ(host.outcomes[1], FileOutcome::Upgraded);
        EXPECT_EQ(after.at("b.mdb"), upgraded_.at("b.mdb"));

        // A later run finishes what the failed one left.
        patch_test::RecordingHost again(folder.folder());
        patch::RunPatch(again);
        EXPECT_TRUE(again.outcomes[0] == FileOutcome::Upgraded || again.outcomes[0] == FileOutcome::AlreadyUpgraded);
        EXPECT_EQ(reliability::RecoveredContent(folder.file("a.mdb")), upgraded_.at("a.mdb"));
        EXPECT_EQ(folder.entries(), (std::vector<std::string>{"a.mdb", "b.mdb"}));
        if (HasFailure()) break;
    }
    // Most points must really have broken the run, or the faults missed their mark.
    EXPECT_GT(failedRuns, injectionPoints_ / stride / 2);
}

// The rollback after a conversion error fails on its first write: the file must
// still be closed, come back whole, and the next file be treated as the first.
class RollbackFaultHost : public FirstFileFaultHost {
public:
    RollbackFaultHost(std::string folder, FaultVfs& vfs) : FirstFileFaultHost(std::move(folder), vfs), vfs_(vfs)
    {
        onRowCopied = [this](const std::string& table, int position) {
            // A small page cache makes the copy write into the file before the
            // commit, so that the rollback has pages to put back.
            if (position == 1)
                sqlite3_exec(components.dbFilm.AdoConnection().file()->handle(), "PRAGMA cache_size = 5", nullptr,
                             nullptr, nullptr);
            if (table == "FILMY" && position == 1500) throw std::runtime_error("injected failure");
        };
    }
    void WarningBeep() override
    {
        FirstFileFaultHost::WarningBeep();
        vfs_.Arm({1, FaultKind::IoError});
    }
    void FileFinished(int index, FileOutcome outcome) override
    {
        if (index == 0) faultsAtRollback = vfs_.Faults();
        FirstFileFaultHost::FileFinished(index, outcome);
    }
    int faultsAtRollback = 0;

private:
    FaultVfs& vfs_;
};

TEST(FaultAtRollback, FileComesBackWholeAndTheNextFileIsUpgraded)
{
    FaultVfs vfs;
    patch_test::CatalogueFolder folder;
    folder.Add("a.mdb", sample::Level::ReadyYesNo, 2000, 20);
    folder.Add("b.mdb", sample::Level::ReadyYesNo, 10, 5);
    const auto before = reliability::FolderContents(std::filesystem::path(folder.Folder()));

    RollbackFaultHost host(folder.Folder(), vfs);
    patch::RunPatch(host);

    EXPECT_EQ(host.faultsAtRollback, 1);
    EXPECT_EQ(host.outcomes, (std::vector<FileOutcome>{FileOutcome::ConversionError, FileOutcome::Upgraded}));
    EXPECT_EQ(reliability::RecoveredContent(folder.PathOf("a.mdb")), before.at("a.mdb"));
}

INSTANTIATE_TEST_SUITE_P(Kinds, FaultInjection, ::testing::Values(FaultKind::IoError, FaultKind::DiskFull),
                         [](const auto& info) { return info.param == FaultKind::IoError ? "IoError" : "DiskFull"; });

}  // namespace
