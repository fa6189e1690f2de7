// Views and triggers that another tool added to a catalogue: after the upgrade
// they name the upgraded tables' fields, the rows moved by the upgrade fire no
// trigger, and no hidden column stays behind for them. One that cannot work
// with the upgraded tables stops the upgrade, and the file stays as it was.

#include <gtest/gtest.h>

#include "patch/run_patch.h"
#include "tests/support/catalogue_folder.h"
#include "tests/support/recording_host.h"
#include "tests/support/sqlite_file.h"

namespace {

using patch::FileOutcome;
using patch_test::CatalogueFolder;
using sample::Level;
using test_support::ExecuteSql;
using test_support::QueryRows;

constexpr char kViewAndTriggers[] =
    "CREATE TABLE LOG(WPIS TEXT);"
    "CREATE VIEW V_FILMY AS SELECT ID_CD, T_ORG FROM FILMY;"
    "CREATE TRIGGER LOG_FILMY AFTER INSERT ON FILMY BEGIN INSERT INTO LOG VALUES(new.T_ORG); END;"
    "CREATE TRIGGER LOG_WYPOZYCZ AFTER INSERT ON WYPOZYCZ BEGIN INSERT INTO LOG VALUES(new.ID_OSOBY); END;";

TEST(OtherToolsViews, ViewAndTriggersNameTheUpgradedFieldsAndMovedRowsFireNothing)
{
    CatalogueFolder folder;
    const auto path = folder.Add("filmy.mdb", Level::ReadyYesNo, 40, 12);
    ExecuteSql(path, kViewAndTriggers);
    const auto schemaOf = [&](const char* name) {
        return test_support::QueryValue(path, std::string("SELECT sql FROM sqlite_schema WHERE name = '") + name + "'");
    };
    const auto view = schemaOf("V_FILMY");
    const auto filmsTrigger = schemaOf("LOG_FILMY");
    const auto loansTrigger = schemaOf("LOG_WYPOZYCZ");
    const auto keys = test_support::QueryColumn(path, "SELECT ID_CD FROM FILMY ORDER BY ID_CD");
    const auto titles = test_support::QueryColumn(path, "SELECT T_ORG FROM FILMY ORDER BY ID_CD");

    const auto host = folder.Upgrade();
    ASSERT_EQ(host->outcomes.at(0), FileOutcome::Upgraded);

    EXPECT_EQ(schemaOf("V_FILMY"), view);
    EXPECT_EQ(schemaOf("LOG_FILMY"), filmsTrigger);
    EXPECT_EQ(schemaOf("LOG_WYPOZYCZ"), loansTrigger);
    // The old ID_CD went to FILM_ID; the view reads the new ID_CD, which kept its values.
    EXPECT_EQ(test_support::QueryColumn(path, "SELECT ID_CD FROM V_FILMY ORDER BY ID_CD"), keys);
    EXPECT_EQ(test_support::QueryColumn(path, "SELECT T_ORG FROM V_FILMY ORDER BY ID_CD"), titles);
    EXPECT_EQ(test_support::QueryValue(path, "SELECT count(*) FROM LOG"), "0");
    for (const char* table : {"FILMY", "WYPOZYCZ"})
        EXPECT_EQ(test_support::QueryValue(path, std::string("SELECT count(*) FROM pragma_table_info('") + table +
                                                     "') WHERE name LIKE 'MSys%'"),
                  "0")
            << table;
    EXPECT_EQ(test_support::IntegrityCheck(path), "ok");

    // Rows entered after the upgrade fire the triggers, which read the new fields.
    ExecuteSql(path,
               "INSERT INTO FILMY(FILM_ID, T_ORG, JEST) VALUES(1000, 'Nowy film', 1);"
               "INSERT INTO WYPOZYCZ(FILM_ID, ID_OSOBY) VALUES(1000, 77);");
    EXPECT_EQ(test_support::QueryColumn(path, "SELECT WPIS FROM LOG ORDER BY rowid"),
              (std::vector<test_support::Cell>{"Nowy film", "77"}));
}

TEST(OtherToolsViews, OneThatCannotWorkWithTheUpgradedTableStopsTheUpgradeOfThatFile)
{
    struct Case {
        const char* sql;
        const char* table;
    };
    const Case cases[] = {
        // A field the upgrade does not keep.
        {"ALTER TABLE FILMY ADD COLUMN NOTATKA TEXT(40); CREATE VIEW V_NOTATKI AS SELECT NOTATKA FROM FILMY;", "FILMY"},
        {"ALTER TABLE WYPOZYCZ ADD COLUMN UWAGI TEXT(40); CREATE TABLE LOG(WPIS TEXT);"
         "CREATE TRIGGER LOG_UWAGI AFTER UPDATE ON WYPOZYCZ BEGIN INSERT INTO LOG VALUES(new.UWAGI); END;",
         "WYPOZYCZ"},
    };
    for (const auto& c : cases) {
        const patch_test::UpgradedCatalogue upgraded({.films = 25, .loans = 5, .sql = c.sql, .name = "filmy.mdb"});
        const auto& host = upgraded.host;
        EXPECT_EQ(upgraded.outcome(), FileOutcome::ConversionError) << c.table;
        ASSERT_FALSE(host->notices.empty()) << c.table;
        EXPECT_EQ(host->notices.back().text,
                  std::string("Wystąpił nieznany błąd konwersji dla bazy: filmy.mdb tabela: ") + c.table);
        EXPECT_EQ(test_support::DumpContent(upgraded.path), upgraded.before) << c.table;
    }
}

}  // namespace
