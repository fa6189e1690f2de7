// What the run does with each kind of file, as the user and the file see it.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <stdexcept>

#include "patch/run_patch.h"
#include "tests/support/catalogue_folder.h"
#include "tests/support/recording_host.h"
#include "tests/support/sqlite_file.h"

namespace patch_test {
namespace {

using patch::FileOutcome;
using sample::Level;

// Compaction puts a new file in place of the old one.
ino_t Inode(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

// The run's own components start as the window's design holds them.
TEST(RunComponents, StartClosedWithTheLoansTableDesign)
{
    patch::PatchComponents components;
    EXPECT_FALSE(components.dbFilm.Connected());
    EXPECT_FALSE(components.mdbFilmy.Active());
    EXPECT_EQ(components.mdbFilmy.TableName(), "Wypozycz");
    EXPECT_EQ(components.mdbFilmy.IndexDefs().Count(), 4);
    EXPECT_EQ(components.mdbClone.Connection(), nullptr);
}

TEST(RunOutcome, EveryKindOfFileEndsAsItsCaseSays)
{
    CatalogueFolder folder;
    const std::string untouched[] = {
        folder.Add("a-no-aka.mdb", Level::NoAka),           folder.Add("b-no-subtype.mdb", Level::NoSubtype),
        folder.Add("c-no-videodvd.mdb", Level::NoVideoDvd), folder.Add("d-upgraded.mdb", Level::Upgraded),
        folder.Add("e-no-films.mdb", Level::NoFilms),
    };
    std::vector<std::string> before;
    for (const auto& path : untouched) before.push_back(FileBytes(path));
    const ino_t inodes[] = {Inode(folder.Add("f-no-loans.mdb", Level::NoLoans)),
                            Inode(folder.Add("g-ready-long.mdb", Level::ReadyLong)),
                            Inode(folder.Add("h-ready-yesno.mdb", Level::ReadyYesNo))};

    const auto host = folder.Upgrade();

    EXPECT_EQ(host->outcomes, (std::vector<FileOutcome>{FileOutcome::LacksEarlierPatch, FileOutcome::LacksEarlierPatch,
                                                        FileOutcome::LacksEarlierPatch, FileOutcome::AlreadyUpgraded,
                                                        FileOutcome::NotCatalogue, FileOutcome::UpgradedWithoutLoans,
                                                        FileOutcome::Upgraded, FileOutcome::Upgraded}));
    EXPECT_EQ(host->ticks, (std::vector<bool>{false, false, false, true, false, false, true, true}));

    // Only the three missing patches speak: each with the default beep and the plain dialog.
    ASSERT_EQ(host->notices.size(), 6u);
    const char* texts[] = {"Tabela FILMY wymaga patcha qlt_1.2.1.0-01_v.",
                           "Tabela FILMY wymaga patcha qlt_1.2.2.6-01_v.",
                           "Tabela FILMY wymaga patcha qlt_1.2.3.9-01_v."};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(host->notices[2 * i].kind, "beep");
        EXPECT_EQ(host->notices[2 * i + 1].kind, "plain");
        EXPECT_EQ(host->notices[2 * i + 1].text, texts[i]);
    }

    for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(FileBytes(untouched[i]), before[i]) << untouched[i];
    // Every changed file is written anew and renamed into place, also the one without loans.
    EXPECT_NE(Inode(folder.PathOf("f-no-loans.mdb")), inodes[0]);
    EXPECT_NE(Inode(folder.PathOf("g-ready-long.mdb")), inodes[1]);
    EXPECT_NE(Inode(folder.PathOf("h-ready-yesno.mdb")), inodes[2]);
    for (const char* name : {"f-no-loans.mdb", "g-ready-long.mdb", "h-ready-yesno.mdb"})
        EXPECT_EQ(IntegrityCheck(folder.PathOf(name)), "ok") << name;
    EXPECT_EQ(QueryRows(folder.PathOf("f-no-loans.mdb"), "SELECT count(*) FROM FILMY WHERE T_ORG_S IS NULL")[0][0],
              "20");
}

TEST(RunOutcome, FilmsTableWithTOrgSButANumericOcenaIsUpgraded)
{
    const UpgradedCatalogue upgraded(
        {.films = 10, .loans = 4, .sql = "ALTER TABLE FILMY ADD COLUMN T_ORG_S TEXT(150)"});
    EXPECT_EQ(upgraded.outcome(), FileOutcome::Upgraded);
    EXPECT_EQ(QueryRows(upgraded.path, "SELECT type FROM pragma_table_info('FILMY') WHERE name = 'OCENA'")[0][0],
              "TEXT(5)");
    EXPECT_EQ(QueryRows(upgraded.path, "SELECT count(*) FROM FILMY")[0][0], "10");
}

// Ticking happens after the check: its failure is no conversion error, and the
// user is shown nothing.
class FailingTickHost : public RecordingHost {
public:
    using RecordingHost::RecordingHost;
    void TickFile(int) override { throw std::runtime_error("the list is gone"); }
};

TEST(RunOutcome, FailureAfterTheFilmsCheckOfAnUpgradedFileIsSilent)
{
    CatalogueFolder folder;
    folder.Add("a.mdb", Level::Upgraded, 3, 1);
    const auto host = folder.Upgrade<FailingTickHost>();
    EXPECT_EQ(host->outcomes[0], FileOutcome::Failed);
    EXPECT_TRUE(host->notices.empty());
}

TEST(RunOutcome, EmptyFolderShowsTheNoticeAndLeavesTheProgressAlone)
{
    CatalogueFolder folder;
    const auto host = folder.Upgrade();
    ASSERT_EQ(host->notices.size(), 1u);
    EXPECT_EQ(host->notices[0].kind, "window");
    EXPECT_EQ(host->notices[0].text, "Nie odnaleziono żadnej bazy *.mdb do konwersji.");
    EXPECT_TRUE(host->files.empty());
    EXPECT_EQ(host->progressMaximum, -1);
}

TEST(RunOutcome, NoticesNameTheFilmsTableAsStored)
{
    CatalogueFolder folder;
    folder.Add("a.mdb", Level::ReadyYesNo, 5, 2);
    folder.Add("b.mdb", Level::NoSubtype, 5, 2, {"Filmy", "WYPOZYCZ"});
    folder.Add("c.mdb", Level::ReadyYesNo, 5, 2, {"Filmy", "Wypozycz"});
    const auto host = folder.Upgrade();

    EXPECT_EQ(host->ticks, (std::vector<bool>{true, false, true}));
    ASSERT_EQ(host->notices.size(), 2u);
    EXPECT_EQ(host->notices[1].text, "Tabela Filmy wymaga patcha qlt_1.2.2.6-01_v.");
    // The stored names are kept by the rebuild.
    EXPECT_EQ(QueryRows(folder.PathOf("c.mdb"),
                        "SELECT count(*) FROM sqlite_master WHERE name IN ('Filmy', "
                        "'Wypozycz', 'Filmy.FILM_ID', 'Wypozycz.ID_CD')")[0][0],
              "4");
}

TEST(RunOutcome, ConversionErrorIsReportedAndTheNextFileIsTreated)
{
    CatalogueFolder folder;
    const auto broken = folder.Add("a.mdb", Level::ReadyLong, 10, 5, {"Filmy", "WYPOZYCZ"});
    ExecuteSql(broken, "UPDATE Filmy SET JEST = NULL WHERE rowid = 4");
    const auto before = DumpContent(broken);
    folder.Add("b.mdb", Level::ReadyYesNo, 10, 5);

    const auto host = folder.Upgrade();

    EXPECT_EQ(host->outcomes, (std::vector<FileOutcome>{FileOutcome::ConversionError, FileOutcome::Upgraded}));
    ASSERT_EQ(host->notices.size(), 2u);
    EXPECT_EQ(host->notices[0].kind, "warning");
    EXPECT_EQ(host->notices[1].kind, "window");
    EXPECT_EQ(host->notices[1].text, "Wystąpił nieznany błąd konwersji dla bazy: a.mdb tabela: Filmy");
    EXPECT_EQ(DumpContent(broken), before);
}

TEST(RunOutcome, FilmsTableWithoutJestOrOcenaIsAConversionError)
{
    CatalogueFolder folder;
    const auto noJest = folder.Add("a.mdb", Level::ReadyYesNo, 3, 1);
    ExecuteSql(noJest, "ALTER TABLE FILMY RENAME COLUMN JEST TO JEST_OLD");
    const auto noOcena = folder.Add("b.mdb", Level::Upgraded, 3, 1);
    ExecuteSql(noOcena, "ALTER TABLE FILMY RENAME COLUMN OCENA TO OCENA_OLD");
    const auto beforeA = FileBytes(noJest);
    const auto beforeB = FileBytes(noOcena);

    const auto host = folder.Upgrade();

    EXPECT_EQ(host->outcomes, (std::vector<FileOutcome>{FileOutcome::ConversionError, FileOutcome::ConversionError}));
    EXPECT_EQ(FileBytes(noJest), beforeA);
    EXPECT_EQ(FileBytes(noOcena), beforeB);
}

TEST(RunOutcome, FilesThatAreNoDatabaseAreSkippedInSilence)
{
    CatalogueFolder folder;
    const auto text = folder.PathOf("a.mdb");
    folder.Add("b.mdb", Level::ReadyYesNo, 3, 1);
    {
        std::ofstream(text) << "not a database\n";
    }
    std::ofstream(folder.PathOf("c.mdb")).close();  // zero bytes
    const auto host = folder.Upgrade();
    EXPECT_EQ(host->outcomes,
              (std::vector<FileOutcome>{FileOutcome::Failed, FileOutcome::Upgraded, FileOutcome::Failed}));
    EXPECT_TRUE(host->notices.empty());
    EXPECT_EQ(FileBytes(text), "not a database\n");
    EXPECT_EQ(FileBytes(folder.PathOf("c.mdb")), "");
}

}  // namespace
}  // namespace patch_test
