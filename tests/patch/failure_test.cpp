// Failures part-way: the file stays exactly as it was, and a later run finishes it.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string_view>
#include <system_error>

#include "db/engine/connection.h"
#include "db/engine/database_file.h"
#include "db/engine/engine_error.h"
#include "patch/catalogue_check.h"
#include "patch/failure_cause.h"
#include "patch/file_transaction.h"
#include "patch/run_patch.h"
#include "tests/support/catalogue_folder.h"
#include "tests/support/recording_host.h"
#include "tests/support/sqlite_file.h"

namespace patch_test {
namespace {

using patch::FileOutcome;
using sample::Level;

void FailAt(RecordingHost& host, const std::string& table, int row)
{
    host.onRowCopied = [table, row](const std::string& current, int position) {
        if (current == table && position == row) throw std::runtime_error("injected failure");
    };
}

struct FailingRow {
    const char* table;
    int row;
};

void PrintTo(const FailingRow& failing, std::ostream* out)
{
    *out << failing.table << " row " << failing.row;
}

class FailurePartWay : public ::testing::TestWithParam<FailingRow> {};

TEST_P(FailurePartWay, LeavesTheFileAsItWasAndASecondRunUpgradesIt)
{
    const std::string table = GetParam().table;
    CatalogueFolder folder;
    const auto path = folder.Add("a.mdb", Level::ReadyYesNo, 700, 100);
    const auto before = DumpContent(path);

    RecordingHost failing(folder.Folder());
    FailAt(failing, table, GetParam().row);
    patch::RunPatch(failing);
    EXPECT_EQ(failing.outcomes[0], FileOutcome::ConversionError);
    EXPECT_FALSE(failing.ticks[0]);
    ASSERT_EQ(failing.notices.size(), 2u);
    EXPECT_EQ(failing.notices[1].text, "Wystąpił nieznany błąd konwersji dla bazy: a.mdb tabela: " + table);
    EXPECT_EQ(DumpContent(path), before);
    EXPECT_EQ(IntegrityCheck(path), "ok");

    const auto again = folder.Upgrade();
    EXPECT_EQ(again->outcomes[0], FileOutcome::Upgraded);
    EXPECT_EQ(QueryRows(path, "SELECT count(*) FROM FILMY")[0][0], "700");
    EXPECT_EQ(QueryRows(path, "SELECT count(*) FROM WYPOZYCZ WHERE ID_CD IS NOT NULL")[0][0], "100");
}

// The films fail after the snapshot has been read from the file in several batches.
INSTANTIATE_TEST_SUITE_P(Tables, FailurePartWay,
                         ::testing::Values(FailingRow{"FILMY", 600}, FailingRow{"WYPOZYCZ", 50}),
                         [](const auto& info) { return std::string(info.param.table); });

TEST(FailurePartWay, FieldKeptByAForeignIndexStopsTheUpgradeBeforeAnyRowIsLost)
{
    CatalogueFolder folder;
    const auto full = folder.Add("a.mdb", Level::ReadyYesNo, 20, 5);
    // Even with no rows to copy, a wrong field order must not be kept as the new structure.
    const auto empty = folder.Add("b.mdb", Level::ReadyYesNo, 20, 5);
    ExecuteSql(empty, "DELETE FROM FILMY");
    // An index outside the drop list keeps ROK_PROD from being deleted.
    for (const auto& path : {full, empty}) ExecuteSql(path, "CREATE INDEX \"FILMY.ROK_PROD\" ON FILMY(ROK_PROD)");
    const auto before = DumpContent(full);
    const auto beforeEmpty = DumpContent(empty);
    const auto host = folder.Upgrade();
    EXPECT_EQ(host->outcomes, (std::vector<FileOutcome>{FileOutcome::ConversionError, FileOutcome::ConversionError}));
    EXPECT_EQ(DumpContent(full), before);
    EXPECT_EQ(DumpContent(empty), beforeEmpty);
    // The runner names the index in its cause.
    EXPECT_EQ(
        host->causes[0],
        "indeks „ROK_PROD” na polu ROK_PROD, założony poza tym programem, nie pozwala usunąć pola z tabeli FILMY; "
        "usuń ten indeks i uruchom program ponownie");
}

int RefuseRollback(void*, int action, const char* operation, const char*, const char*, const char*)
{
    return action == SQLITE_TRANSACTION && operation && std::string_view(operation) == "ROLLBACK" ? SQLITE_DENY
                                                                                                  : SQLITE_OK;
}

// SQLite refuses the rollback after the conversion error has been shown.
class RefusedRollbackHost : public RecordingHost {
public:
    using RecordingHost::RecordingHost;
    void WarningBeep() override
    {
        RecordingHost::WarningBeep();
        sqlite3_set_authorizer(components.dbFilm.AdoConnection().file()->handle(), RefuseRollback, nullptr);
    }
};

TEST(FailurePartWay, RefusedRollbackStillClosesTheFileAndKeepsTheOutcomeTheUserSaw)
{
    CatalogueFolder folder;
    const auto path = folder.Add("a.mdb", Level::ReadyYesNo, 30, 10);
    folder.Add("b.mdb", Level::ReadyYesNo, 10, 5);
    const auto before = DumpContent(path);
    RefusedRollbackHost host(folder.Folder());
    FailAt(host, "FILMY", 20);  // b.mdb has fewer films
    patch::RunPatch(host, host.components);
    // Closing rolls back what the refused rollback left, and the next file starts afresh.
    EXPECT_EQ(host.outcomes, (std::vector<FileOutcome>{FileOutcome::ConversionError, FileOutcome::Upgraded}));
    EXPECT_EQ(DumpContent(path), before);
}

TEST(FailurePartWay, LoansTableThatCannotBeOpenedLeavesTheWholeFileAsItWas)
{
    // Another tool's view under the loans table's name, failing when it is read.
    const UpgradedCatalogue upgraded(
        {.level = Level::NoLoans,
         .loans = 0,
         .sql = "CREATE VIEW WYPOZYCZ AS SELECT abs(-9223372036854775807 - 1) AS FILM_ID"});
    EXPECT_EQ(upgraded.outcome(), FileOutcome::Failed);
    EXPECT_TRUE(upgraded.host->notices.empty());
    EXPECT_EQ(DumpContent(upgraded.path), upgraded.before) << "the films upgrade goes back with it";
}

TEST(FailurePartWay, TextTooLongForItsNewFieldIsReportedAndNothingLost)
{
    // OCENA becomes a Text of 5 characters.
    const UpgradedCatalogue upgraded({.loans = 5, .sql = "UPDATE FILMY SET OCENA = 1234567 WHERE rowid = 7"});
    EXPECT_EQ(upgraded.outcome(), FileOutcome::ConversionError);
    EXPECT_EQ(DumpContent(upgraded.path), upgraded.before);
}

TEST(FailurePartWay, CompactionThatFailsLeavesTheUpgradeInPlaceButUnticked)
{
    CatalogueFolder folder;
    const auto path = folder.Add("a.mdb", Level::ReadyYesNo, 20, 5);
    // A second hold on the file in this process: compaction may not replace it.
    engine::Connection holder;
    holder.setConnectionString(patch::CatalogueConnectionString(path));
    RecordingHost host(folder.Folder());
    host.onRowCopied = [&holder](const std::string& table, int) {
        if (table == "WYPOZYCZ" && !holder.isOpen()) holder.open();
    };
    patch::RunPatch(host);
    holder.close();

    EXPECT_EQ(host.outcomes[0], FileOutcome::UpgradedNotCompacted);
    EXPECT_FALSE(host.ticks[0]);
    EXPECT_TRUE(host.notices.empty());
    EXPECT_EQ(IntegrityCheck(path), "ok");
    EXPECT_EQ(QueryRows(path, "SELECT count(*) FROM WYPOZYCZ WHERE ID_CD IS NOT NULL")[0][0], "5");
    // Still the one file under its own name: nothing of the failed compaction beside it.
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
    for (const auto& entry : std::filesystem::directory_iterator(folder.Folder()))
        EXPECT_EQ(entry.path().filename(), "a.mdb");

    const auto again = folder.Upgrade();
    EXPECT_EQ(again->outcomes[0], FileOutcome::AlreadyUpgraded);
}

// A full disk or an exhausted quota that reaches the engine as the system's
// errno under an I/O error (SQLite reports only ENOSPC on a write as a full
// disk; EDQUOT, and either on a sync, come as I/O errors) is named as a full
// disk, as is the same errno of a file call of the program's own.
TEST(FailureCause, FullDiskToldByTheSystemsErrnoIsNamed)
{
    CatalogueFolder folder;
    const auto path = folder.Add("a.mdb", Level::ReadyYesNo, 2, 1);
    for (const int error : {ENOSPC, EDQUOT}) {
        SCOPED_TRACE(std::strerror(error));
        for (const int code : {SQLITE_IOERR_WRITE, SQLITE_IOERR_FSYNC, SQLITE_IOERR_TRUNCATE, SQLITE_CANTOPEN})
            EXPECT_EQ(patch::FailureCause(engine::EngineError("disk I/O error", code, error), path),
                      "brak miejsca na dysku: zwolnij miejsce i uruchom program ponownie");
        EXPECT_EQ(patch::FailureCause(std::system_error(error, std::generic_category()), path),
                  "brak miejsca na dysku: zwolnij miejsce i uruchom program ponownie");
    }
    // Without the errno, only the kind of failure is known.
    EXPECT_EQ(patch::FailureCause(engine::EngineError("disk I/O error", SQLITE_IOERR_WRITE), path),
              "błąd odczytu lub zapisu na dysku: sprawdź dysk i uruchom program ponownie");
}

// The compaction folder's failures end in the system's own text: the cause
// tells it in Polish, and keeps it, in parentheses, only where it has no advice.
TEST(FailureCause, SystemTextOfTheCompactionFolderIsToldInPolish)
{
    const std::string what = "Nie można utworzyć folderu tymczasowego w /kat/";
    const auto cause = [&](int error) {
        return patch::FailureCause(TovaskADODB::EDatabaseError(what + ": " + std::strerror(error)), "/kat/a.mdb");
    };
    EXPECT_EQ(cause(ENOENT), what +
                                 ": folder lub plik zniknął w trakcie pracy programu; sprawdź, czy inny program go "
                                 "nie usuwa, i uruchom program ponownie");
    EXPECT_EQ(cause(ENOSPC), what + ": brak miejsca na dysku; zwolnij miejsce i uruchom program ponownie");
    EXPECT_EQ(cause(EACCES).find(std::strerror(EACCES)), std::string::npos);
    EXPECT_EQ(cause(EMFILE), what + ": zamknij inne programy i uruchom program ponownie (komunikat systemu: " +
                                 std::strerror(EMFILE) + ")");
    // A message of the components that is no system failure is a fault of the program.
    EXPECT_EQ(patch::FailureCause(TovaskADODB::EDatabaseError("dbFilm: Baza jest otwarta."), "/kat/a.mdb"),
              "błąd programu: zgłoś go autorowi programu (dbFilm: Baza jest otwarta.)");
}

}  // namespace
}  // namespace patch_test

namespace patch_test {
namespace {

// The guard a file's treatment holds: when it goes, what is not committed is
// gone and the file is closed; what is committed stays.
TEST(FileTransaction, RollsBackAndClosesUnlessCommitted)
{
    CatalogueFolder folder;
    const auto path = folder.Add("a.mdb", Level::ReadyYesNo, 3, 2);
    const auto before = DumpContent(path);
    patch::PatchComponents components;
    auto& db = components.dbFilm;
    auto deleteLoans = [&](bool commit) {
        patch::FileTransaction file(components);
        db.SetConnectionString(patch::CatalogueConnectionString(path));
        db.OpenBase();
        file.Begin();
        db.AdoConnection().execute("DELETE FROM WYPOZYCZ");
        if (commit) file.Commit();
    };

    deleteLoans(false);
    EXPECT_FALSE(db.Connected());
    EXPECT_EQ(DumpContent(path), before);

    deleteLoans(true);
    EXPECT_FALSE(db.Connected());
    EXPECT_NE(DumpContent(path), before);
    EXPECT_EQ(IntegrityCheck(path), "ok");
}

}  // namespace
}  // namespace patch_test
