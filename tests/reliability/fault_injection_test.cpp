// Every write, sync and truncate of a run over one catalogue fails in turn:
// the file must end as it was or fully upgraded, and the next file must be
// upgraded regardless.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <set>

#include "db/engine/database_file.h"
#include "patch/run_patch.h"
#include "tests/reliability/fault_vfs.h"
#include "tests/reliability/file_state.h"
#include "tests/reliability/sanitized_build.h"
#include "tests/support/catalogue_folder.h"
#include "tests/support/recording_host.h"
#include "tests/support/sqlite_file.h"
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
        EXPECT_EQ(test_support::IntegrityCheck(folder.file("a.mdb")), "ok");
        EXPECT_EQ(host.outcomes[1], FileOutcome::Upgraded);
        EXPECT_EQ(after.at("b.mdb"), upgraded_.at("b.mdb"));

        // A later run finishes what the failed one left.
        const auto again = patch_test::RunUpgrade(folder.folder());
        EXPECT_TRUE(again->outcomes[0] == FileOutcome::Upgraded || again->outcomes[0] == FileOutcome::AlreadyUpgraded);
        EXPECT_EQ(reliability::RecoveredContent(folder.file("a.mdb")), upgraded_.at("a.mdb"));
        EXPECT_EQ(folder.entries(), (std::vector<std::string>{"a.mdb", "b.mdb"}));
        if (HasFailure()) break;
    }
    // Most points must really have broken the run, or the faults missed their mark.
    EXPECT_GT(failedRuns, injectionPoints_ / stride / 2);
}

// A fault is armed for the first write after a conversion error, as the
// rollback begins. The file is never written before its new copy replaces it
// (not even with a tiny page cache), so the rollback has no page to put back
// and the fault never fires; the file comes back whole and the next file is
// treated as the first.
class RollbackFaultHost : public FirstFileFaultHost {
public:
    RollbackFaultHost(std::string folder, FaultVfs& vfs) : FirstFileFaultHost(std::move(folder), vfs), vfs_(vfs)
    {
        onRowCopied = [this](const std::string& table, int position) {
            // A small page cache would make an upgrade in place write into the
            // file before the commit.
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
    patch::RunPatch(host, host.components);

    EXPECT_EQ(host.faultsAtRollback, 0);
    EXPECT_EQ(host.outcomes, (std::vector<FileOutcome>{FileOutcome::ConversionError, FileOutcome::Upgraded}));
    EXPECT_EQ(reliability::RecoveredContent(folder.PathOf("a.mdb")), before.at("a.mdb"));
}

std::vector<std::int64_t> IntegersOf(sqlite3* db, const char* sql)
{
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) throw std::runtime_error(sqlite3_errmsg(db));
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(raw, sqlite3_finalize);
    std::vector<std::int64_t> values;
    while (sqlite3_step(raw) == SQLITE_ROW) values.push_back(sqlite3_column_int64(raw, 0));
    return values;
}

// From the first copied film on, the reads of the films' rows set aside (the
// pages of the table holding them) are watched, with few pages kept in memory
// so that the copy reads them from the file as it goes on.
class AsideReadFaultHost : public FirstFileFaultHost {
public:
    AsideReadFaultHost(std::string folder, FaultVfs& vfs, int failAt)
        : FirstFileFaultHost(std::move(folder), vfs), vfs_(vfs)
    {
        onRowCopied = [this, failAt](const std::string& table, int position) {
            if (firstFileDone_ || position != 1) return;
            if (table == "WYPOZYCZ") copyReads = vfs_.PageReads();
            if (table != "FILMY") return;
            sqlite3* db = components.dbFilm.AdoConnection().file()->handle();
            sqlite3_exec(db, "PRAGMA cache_size = 5", nullptr, nullptr, nullptr);
            const auto pages = IntegersOf(db, "SELECT pageno FROM dbstat WHERE name LIKE 'MSysAside%'");
            const auto pageSize = IntegersOf(db, "PRAGMA page_size");
            std::set<std::int64_t> numbers(pages.begin(), pages.end());
            asidePages = static_cast<int>(numbers.size());
            vfs_.WatchPageReads(failAt, static_cast<int>(pageSize.at(0)), std::move(numbers));
        };
    }
    void FileFinished(int index, FileOutcome outcome) override
    {
        if (index == 0) {
            asideReads = vfs_.PageReads();
            firstFileDone_ = true;
        }
        FirstFileFaultHost::FileFinished(index, outcome);
    }
    int asidePages = 0;
    int copyReads = 0;   // while the films were copied
    int asideReads = 0;  // in all, with those of the commit

private:
    FaultVfs& vfs_;
    bool firstFileDone_ = false;
};

// A read of the rows set aside fails part of the way through their copy, or
// at the commit, which reads what an open snapshot still needs of them: the
// file must come back as it was, the next file be upgraded, and a later run
// finish the first. Part-way through the copy it is reported as any failure
// of a table's copy.
TEST(FaultInAsideRows, ReadFailingPartWayLeavesTheFileAsItWas)
{
    FaultVfs vfs;
    patch_test::CatalogueFolder originals;
    originals.Add("a.mdb", sample::Level::ReadyYesNo, 1000, 20);
    originals.Add("b.mdb", sample::Level::ReadyYesNo, 10, 5);
    const auto before = reliability::FolderContents(std::filesystem::path(originals.Folder()));
    int copyReads = 0;
    int reads = 0;
    {
        test_support::TempFolder reference;
        reliability::CopyFolderFiles(std::filesystem::path(originals.Folder()), reference.path());
        AsideReadFaultHost host(reference.folder(), vfs, 0);
        vfs.Arm({});
        patch::RunPatch(host, host.components);
        ASSERT_EQ(host.outcomes[0], FileOutcome::Upgraded);
        ASSERT_GT(host.asidePages, 100);
        copyReads = host.copyReads;
        reads = host.asideReads;
    }
    // Read in batches as the copy goes on, each page at least once.
    ASSERT_GE(copyReads, 100);
    ASSERT_GE(reads, copyReads);
    std::vector<int> points;
    for (int part = 1; part <= 4; ++part) points.push_back(copyReads * part / 5);
    if (reads > copyReads) points.push_back(copyReads + (reads - copyReads) / 2);
    for (const int point : points) {
        SCOPED_TRACE("fault at read " + std::to_string(point) + " of " + std::to_string(reads));
        test_support::TempFolder folder;
        reliability::CopyFolderFiles(std::filesystem::path(originals.Folder()), folder.path());
        AsideReadFaultHost host(folder.folder(), vfs, point);
        vfs.Arm({});
        patch::RunPatch(host, host.components);
        vfs.Disarm();

        EXPECT_EQ(vfs.Faults(), 1);
        EXPECT_EQ(host.causes[0], "błąd odczytu lub zapisu na dysku: sprawdź dysk i uruchom program ponownie");
        EXPECT_EQ(host.outcomes[0], point <= copyReads ? FileOutcome::ConversionError : FileOutcome::Failed);
        EXPECT_EQ(host.outcomes[1], FileOutcome::Upgraded);
        EXPECT_EQ(reliability::RecoveredContent(folder.file("a.mdb")), before.at("a.mdb"));
        EXPECT_EQ(folder.entries(), (std::vector<std::string>{"a.mdb", "b.mdb"}));
        const auto again = patch_test::RunUpgrade(folder.folder());
        EXPECT_EQ(again->outcomes[0], FileOutcome::Upgraded);
        if (HasFailure()) break;
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, FaultInjection, ::testing::Values(FaultKind::IoError, FaultKind::DiskFull),
                         [](const auto& info) { return info.param == FaultKind::IoError ? "IoError" : "DiskFull"; });

}  // namespace
