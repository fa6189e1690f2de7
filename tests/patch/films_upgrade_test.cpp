// The films table after the upgrade: structure, indexes and every row's values.

#include <gtest/gtest.h>

#include "patch/films_upgrade.h"
#include "patch/run_patch.h"
#include "tests/support/catalogue_folder.h"
#include "tests/support/films_target_structure.h"
#include "tests/support/recording_host.h"
#include "tests/support/sqlite_file.h"

namespace patch_test {
namespace {

using patch::FileOutcome;
using sample::Level;
using Rows = std::vector<std::vector<Cell>>;

Rows Films(const std::string& path)
{
    return QueryRows(path, "SELECT * FROM FILMY ORDER BY rowid");
}

struct Upgraded {
    Rows before;
    Rows after;
    std::unique_ptr<RecordingHost> host;
};

Upgraded Upgrade(const CatalogueFolder& folder, const std::string& path, bool keepIdCd)
{
    Upgraded result;
    result.before = Films(path);
    result.host = folder.Upgrade(keepIdCd);
    result.after = Films(path);
    return result;
}

TEST(FilmsUpgrade, GivesTheTargetStructureWithExactlyItsTenIndexes)
{
    CatalogueFolder folder;
    const auto path = folder.Add("a.mdb", Level::ReadyYesNo, 5, 2);
    const auto host = folder.Upgrade();

    const auto columns = QueryRows(path, "SELECT name, type FROM pragma_table_info('FILMY') ORDER BY cid");
    const auto& target = patch::FilmsRebuildItems().target;
    ASSERT_EQ(columns.size(), 44u);
    const auto& expected = test_support::kFilmsTargetColumns;
    for (std::size_t i = 0; i < 44; ++i) {
        EXPECT_EQ(*columns[i][0], expected[i].name) << i;
        EXPECT_EQ(*columns[i][1], expected[i].type) << i;
        EXPECT_EQ(target[i].name, expected[i].name) << i;
    }

    const auto indexes = QueryRows(path,
                                   "SELECT i.name, c.name FROM sqlite_master i, pragma_index_info(i.name) c "
                                   "WHERE i.type = 'index' AND i.tbl_name = 'FILMY' ORDER BY i.name");
    const Rows expectedIndexes = {
        {"FILMY.FILM_ID", "FILM_ID"}, {"FILMY.GATUNEK", "GATUNEK"}, {"FILMY.ID_CD", "ID_CD"},
        {"FILMY.ODCINEK", "ODCINEK"}, {"FILMY.SERIA", "SERIA"},     {"FILMY.SER_ID", "SER_ID"},
        {"FILMY.T_ORG", "T_ORG"},     {"FILMY.T_ORG_S", "T_ORG_S"}, {"FILMY.T_PL", "T_PL"},
        {"FILMY.T_PL_S", "T_PL_S"},
    };
    EXPECT_EQ(indexes, expectedIndexes);
    EXPECT_EQ(QueryRows(path,
                        "SELECT count(*) FROM sqlite_master WHERE type = 'index' AND tbl_name = 'FILMY' "
                        "AND sql LIKE 'CREATE UNIQUE%'")[0][0],
              "0");
}

TEST(FilmsUpgrade, NoFieldIsRequiredAndOnlyTextAndMemoAllowAnEmptyText)
{
    CatalogueFolder folder;
    const auto path = folder.Add("a.mdb", Level::ReadyYesNo, 5, 2);
    const auto host = folder.Upgrade();
    ASSERT_EQ(host->outcomes[0], FileOutcome::Upgraded);

    // A field without a row in MSysFields is not required and allows an empty text.
    const auto properties = QueryRows(path,
                                      "SELECT c.name, coalesce(f.Required, 0), coalesce(f.AllowZeroLength, 1) "
                                      "FROM pragma_table_info('FILMY') c LEFT JOIN MSysFields f "
                                      "ON f.TableName = 'FILMY' AND f.FieldName = c.name ORDER BY c.cid");
    ASSERT_EQ(properties.size(), 44u);
    for (std::size_t i = 0; i < 44; ++i) {
        const std::string type = test_support::kFilmsTargetColumns[i].type;
        const bool text = type.rfind("TEXT", 0) == 0 || type == "MEMO";
        EXPECT_EQ(properties[i], (std::vector<Cell>{test_support::kFilmsTargetColumns[i].name, "0", text ? "1" : "0"}))
            << i;
    }
}

void ExpectYesNoRowsMapped(const Upgraded& result, bool keepIdCd)
{
    ASSERT_EQ(result.after.size(), result.before.size());
    for (std::size_t r = 0; r < result.before.size(); ++r) {
        const auto& old = result.before[r];
        const auto& now = result.after[r];
        ASSERT_EQ(old.size(), 37u);
        ASSERT_EQ(now.size(), 44u);
        for (int i = 0; i < 37; ++i) {
            if (i != 30) {
                EXPECT_EQ(now[i], old[i]) << "row " << r << " field " << i;
            }
        }
        // Yes becomes 0, No becomes 1.
        EXPECT_EQ(*now[30], *old[30] == "1" ? "0" : "1") << "row " << r;
        EXPECT_EQ(now[37], keepIdCd ? old[0] : Cell("0")) << "row " << r;
        for (int i = 38; i < 44; ++i) EXPECT_EQ(now[i], std::nullopt) << "row " << r << " field " << i;
    }
}

TEST(FilmsUpgrade, CarriesEveryRowOverWithJestTurnedAndIdCdKept)
{
    CatalogueFolder folder;
    const auto path = folder.Add("a.mdb", Level::ReadyYesNo, 60, 5);
    ExecuteSql(path, "UPDATE FILMY SET OCENA = 8 WHERE rowid = 1");
    const auto result = Upgrade(folder, path, true);
    ExpectYesNoRowsMapped(result, true);
    // A numeric rating arrives as text.
    EXPECT_EQ(QueryRows(path, "SELECT OCENA, typeof(OCENA) FROM FILMY WHERE rowid = 1")[0],
              (std::vector<Cell>{"8", "text"}));
}

TEST(FilmsUpgrade, WithoutKeepingIdCdEveryRowGetsZero)
{
    CatalogueFolder folder;
    const auto path = folder.Add("a.mdb", Level::ReadyYesNo, 30, 5);
    const auto result = Upgrade(folder, path, false);
    ExpectYesNoRowsMapped(result, false);
}

TEST(FilmsUpgrade, LongJestKeepsItsValuesAndTakesIdCdFromPosition37OrTheKey)
{
    CatalogueFolder folder;
    const auto path = folder.Add("a.mdb", Level::ReadyLong, 60, 5);
    ExecuteSql(path,
               "UPDATE FILMY SET ID_CD = 0 WHERE rowid = 2; UPDATE FILMY SET ID_CD = NULL WHERE rowid = 3;"
               "UPDATE FILMY SET ID_CD = 4711 WHERE rowid = 4");
    const auto result = Upgrade(folder, path, true);
    ASSERT_EQ(result.host->outcomes[0], FileOutcome::Upgraded);
    ASSERT_EQ(result.after.size(), result.before.size());
    for (std::size_t r = 0; r < result.before.size(); ++r) {
        const auto& old = result.before[r];
        const auto& now = result.after[r];
        for (int i = 0; i < 37; ++i) EXPECT_EQ(now[i], old[i]) << "row " << r << " field " << i;
        const bool ownIdCd = old[37] && *old[37] != "0";
        EXPECT_EQ(now[37], ownIdCd ? old[37] : old[0]) << "row " << r;
    }
    EXPECT_EQ(*result.after[3][37], "4711");
    EXPECT_EQ(result.after[1][37], result.before[1][0]);
    EXPECT_EQ(result.after[2][37], result.before[2][0]);
}

TEST(FilmsUpgrade, ProgressRunsToTheRowCountWithMessagesHandledAfterEveryRow)
{
    CatalogueFolder folder;
    folder.Add("a.mdb", Level::NoLoans, 1000, 0);
    const auto host = folder.Upgrade();
    EXPECT_EQ(host->outcomes[0], FileOutcome::UpgradedWithoutLoans);
    EXPECT_EQ(host->progressMaximum, 1000);
    EXPECT_EQ(host->progressPosition, 1000);
    EXPECT_EQ(host->pendingMessageCalls, 1000);
}

TEST(FilmsUpgrade, EmptyTableGetsTheNewStructureAndNoRows)
{
    const UpgradedCatalogue upgraded({.films = 5, .loans = 0, .sql = "DELETE FROM FILMY"});
    EXPECT_EQ(upgraded.outcome(), FileOutcome::Upgraded);
    EXPECT_EQ(upgraded.host->progressMaximum, 0);
    EXPECT_EQ(QueryRows(upgraded.path, "SELECT count(*) FROM pragma_table_info('FILMY')")[0][0], "44");
    EXPECT_EQ(QueryRows(upgraded.path, "SELECT count(*) FROM FILMY")[0][0], "0");
}

TEST(FilmsUpgrade, ConvertJestTurnsYesNoAndKeepsIntegers)
{
    EXPECT_EQ(patch::ConvertJest(false, -1), 0);
    EXPECT_EQ(patch::ConvertJest(false, 0), 1);
    EXPECT_EQ(patch::ConvertJest(false, 5), 1);
    EXPECT_EQ(patch::ConvertJest(true, -1), -1);
    EXPECT_EQ(patch::ConvertJest(true, 7), 7);
}

}  // namespace
}  // namespace patch_test
