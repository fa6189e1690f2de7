// The loans table after the upgrade.

#include <gtest/gtest.h>

#include "patch/run_patch.h"
#include "tests/support/catalogue_folder.h"
#include "tests/support/recording_host.h"
#include "tests/support/sqlite_file.h"

namespace patch_test {
namespace {

using patch::FileOutcome;
using sample::Level;

const char* const kLoanQuery = "SELECT * FROM WYPOZYCZ ORDER BY rowid";

std::string OneLoanCatalogue(CatalogueFolder& folder)
{
    const auto path = folder.Add("a.mdb", Level::ReadyYesNo, 30, 1);
    ExecuteSql(path,
               "DELETE FROM WYPOZYCZ; INSERT INTO WYPOZYCZ VALUES (17, 4, '2004-03-01 00:00:00', "
               "'2004-03-15 00:00:00', 0)");
    return path;
}

TEST(LoansUpgrade, LoanGetsTheIdCdOfItsFilm)
{
    CatalogueFolder folder;
    const auto path = OneLoanCatalogue(folder);
    const auto host = folder.Upgrade(true);
    ASSERT_EQ(host->outcomes[0], FileOutcome::Upgraded);
    EXPECT_EQ(QueryRows(path, kLoanQuery),
              (std::vector<std::vector<Cell>>{{"17", "4", "2004-03-01 00:00:00", "2004-03-15 00:00:00", "0", "17"}}));
    EXPECT_EQ(QueryRows(path, "SELECT name, type FROM pragma_table_info('WYPOZYCZ') ORDER BY cid"),
              (std::vector<std::vector<Cell>>{{"FILM_ID", "LONG"},
                                              {"ID_OSOBY", "LONG"},
                                              {"DATA_W", "DATETIME"},
                                              {"DATA_Z", "DATETIME"},
                                              {"KASUJ", "BIT"},
                                              {"ID_CD", "LONG"}}));
    // No field is required, none allows an empty text (a field without a row in MSysFields would).
    EXPECT_EQ(QueryRows(path,
                        "SELECT count(*) FROM pragma_table_info('WYPOZYCZ') c JOIN MSysFields f "
                        "ON f.TableName = 'WYPOZYCZ' AND f.FieldName = c.name "
                        "WHERE f.Required = 0 AND f.AllowZeroLength = 0")[0][0],
              "6");
    EXPECT_EQ(QueryRows(path,
                        "SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = 'WYPOZYCZ' "
                        "ORDER BY name"),
              (std::vector<std::vector<Cell>>{{"WYPOZYCZ.DATA_W"},
                                              {"WYPOZYCZ.DATA_Z"},
                                              {"WYPOZYCZ.FILM_ID"},
                                              {"WYPOZYCZ.ID_CD"},
                                              {"WYPOZYCZ.ID_OSOBY"}}));
}

TEST(LoansUpgrade, WithoutKeepingIdCdTheLoanGetsZero)
{
    CatalogueFolder folder;
    const auto path = OneLoanCatalogue(folder);
    const auto host = folder.Upgrade(false);
    EXPECT_EQ(QueryRows(path, kLoanQuery)[0][5], "0");
}

TEST(LoansUpgrade, LongJestCatalogueKeepsANonZeroIdCdOfTheLoan)
{
    CatalogueFolder folder;
    const auto path = folder.Add("a.mdb", Level::ReadyLong, 30, 20);
    ExecuteSql(path,
               "UPDATE WYPOZYCZ SET ID_CD = 0 WHERE rowid = 1; UPDATE WYPOZYCZ SET ID_CD = NULL WHERE rowid = 2;"
               "UPDATE WYPOZYCZ SET ID_CD = 999 WHERE rowid = 3");
    const auto before = QueryRows(path, kLoanQuery);
    const auto host = folder.Upgrade(true);
    ASSERT_EQ(host->outcomes[0], FileOutcome::Upgraded);
    const auto after = QueryRows(path, kLoanQuery);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t r = 0; r < before.size(); ++r) {
        for (int i = 0; i < 5; ++i) EXPECT_EQ(after[r][i], before[r][i]);
        const bool own = before[r][5] && *before[r][5] != "0";
        EXPECT_EQ(after[r][5], own ? before[r][5] : before[r][0]) << "row " << r;
    }
    EXPECT_EQ(after[2][5], "999");
}

TEST(LoansUpgrade, EmptyLoansTableIsRebuiltAndTheFileTicked)
{
    const UpgradedCatalogue upgraded({.films = 5, .loans = 1, .sql = "DELETE FROM WYPOZYCZ"});
    EXPECT_EQ(upgraded.outcome(), FileOutcome::Upgraded);
    EXPECT_TRUE(upgraded.host->ticks[0]);
    EXPECT_EQ(QueryRows(upgraded.path, "SELECT count(*) FROM pragma_table_info('WYPOZYCZ')")[0][0], "6");
    EXPECT_EQ(IntegrityCheck(upgraded.path), "ok");
}

}  // namespace
}  // namespace patch_test
