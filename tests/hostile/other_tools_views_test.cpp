// Views and triggers that another tool added to a catalogue: after the upgrade
// they name the upgraded tables' fields, the rows moved by the upgrade fire no
// trigger, and no hidden column stays behind for them. One that cannot work
// with the upgraded tables stops the upgrade, and the file stays as it was.

#include <gtest/gtest.h>

#include "patch/run_patch.h"
#include "tests/patch/catalogue_folder.h"
#include "tests/patch/file_content.h"
#include "tests/patch/recording_host.h"

namespace {

using patch::FileOutcome;
using patch_test::CatalogueFolder;
using patch_test::ExecuteSql;
using patch_test::QueryRows;
using patch_test::RecordingHost;
using sample::Level;

std::vector<patch_test::Cell> Column(const std::string& path, const std::string& sql)
{
    std::vector<patch_test::Cell> cells;
    for (const auto& row : QueryRows(path, sql)) cells.push_back(row.at(0));
    return cells;
}

patch_test::Cell Single(const std::string& path, const std::string& sql)
{
    return QueryRows(path, sql).at(0).at(0);
}

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
        return Single(path, std::string("SELECT sql FROM sqlite_schema WHERE name = '") + name + "'");
    };
    const auto view = schemaOf("V_FILMY");
    const auto filmsTrigger = schemaOf("LOG_FILMY");
    const auto loansTrigger = schemaOf("LOG_WYPOZYCZ");
    const auto keys = Column(path, "SELECT ID_CD FROM FILMY ORDER BY ID_CD");
    const auto titles = Column(path, "SELECT T_ORG FROM FILMY ORDER BY ID_CD");

    RecordingHost host(folder.Folder());
    patch::RunPatch(host);
    ASSERT_EQ(host.outcomes.at(0), FileOutcome::Upgraded);

    EXPECT_EQ(schemaOf("V_FILMY"), view);
    EXPECT_EQ(schemaOf("LOG_FILMY"), filmsTrigger);
    EXPECT_EQ(schemaOf("LOG_WYPOZYCZ"), loansTrigger);
    // The old ID_CD went to FILM_ID; the view reads the new ID_CD, which kept its values.
    EXPECT_EQ(Column(path, "SELECT ID_CD FROM V_FILMY ORDER BY ID_CD"), keys);
    EXPECT_EQ(Column(path, "SELECT T_ORG FROM V_FILMY ORDER BY ID_CD"), titles);
    EXPECT_EQ(Single(path, "SELECT count(*) FROM LOG"), "0");
    for (const char* table : {"FILMY", "WYPOZYCZ"})
        EXPECT_EQ(Single(path, std::string("SELECT count(*) FROM pragma_table_info('") + table +
                                   "') WHERE name LIKE 'MSys%'"),
                  "0")
            << table;
    EXPECT_EQ(patch_test::IntegrityCheck(path), "ok");

    // Rows entered after the upgrade fire the triggers, which read the new fields.
    ExecuteSql(path,
               "INSERT INTO FILMY(FILM_ID, T_ORG, JEST) VALUES(1000, 'Nowy film', 1);"
               "INSERT INTO WYPOZYCZ(FILM_ID, ID_OSOBY) VALUES(1000, 77);");
    EXPECT_EQ(Column(path, "SELECT WPIS FROM LOG ORDER BY rowid"), (std::vector<patch_test::Cell>{"Nowy film", "77"}));
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
        CatalogueFolder folder;
        const auto path = folder.Add("filmy.mdb", Level::ReadyYesNo, 25, 5);
        ExecuteSql(path, c.sql);
        const auto before = patch_test::DumpContent(path);

        RecordingHost host(folder.Folder());
        patch::RunPatch(host);
        EXPECT_EQ(host.outcomes.at(0), FileOutcome::ConversionError) << c.table;
        ASSERT_FALSE(host.notices.empty()) << c.table;
        EXPECT_EQ(host.notices.back().text,
                  std::string("Wystąpił nieznany błąd konwersji dla bazy: filmy.mdb tabela: ") + c.table);
        EXPECT_EQ(patch_test::DumpContent(path), before) << c.table;
    }
}

}  // namespace
