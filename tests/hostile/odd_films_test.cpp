// Films tables that other tools or old versions may have left odd: extra,
// missing or reordered fields, values that do not fit, a null JEST, a huge
// Memo, duplicate keys. Either every row arrives or the file stays as it was.

#include <gtest/gtest.h>

#include "patch/run_patch.h"
#include "tests/support/catalogue_folder.h"
#include "tests/support/recording_host.h"
#include "tests/support/sqlite_file.h"

namespace {

using patch::FileOutcome;
using patch_test::CatalogueFolder;
using sample::Level;
using test_support::DumpContent;
using test_support::ExecuteSql;
using test_support::QueryRows;

constexpr char kConversionError[] = "Wystąpił nieznany błąd konwersji dla bazy: filmy.mdb tabela: FILMY";

// filmy.mdb with 25 films and 5 loans, changed by sql.
patch_test::Catalogue Filmy(const std::string& sql, Level level = Level::ReadyYesNo)
{
    return {.level = level, .films = 25, .loans = 5, .sql = sql, .name = "filmy.mdb"};
}

void ExpectReportedAndUnchanged(const patch_test::Catalogue& catalogue)
{
    const patch_test::UpgradedCatalogue upgraded(catalogue);
    EXPECT_EQ(upgraded.outcome(), FileOutcome::ConversionError);
    ASSERT_FALSE(upgraded.host->notices.empty());
    EXPECT_EQ(upgraded.host->notices.back().text, kConversionError);
    EXPECT_EQ(DumpContent(upgraded.path), upgraded.before);
    EXPECT_EQ(test_support::IntegrityCheck(upgraded.path), "ok");
}

// A field another tool added after the known ones is not part of the new
// structure: empty everywhere, it goes; with data in it, the file is refused
// with the field named, in the films table as in the loans table.
TEST(OddFilms, ExtraFieldAfterTheKnownOnesGoesOnlyWhenItIsEmpty)
{
    CatalogueFolder empty;
    const auto emptyPath = empty.Add("filmy.mdb", Level::ReadyYesNo, 25, 5);
    ExecuteSql(emptyPath, "ALTER TABLE FILMY ADD COLUMN NOTATKA TEXT(40); ALTER TABLE WYPOZYCZ ADD COLUMN UWAGI TEXT;");
    const auto keys = test_support::QueryColumn(emptyPath, "SELECT ID_CD FROM FILMY ORDER BY ID_CD");
    EXPECT_EQ(empty.Upgrade()->outcomes.at(0), FileOutcome::Upgraded);
    EXPECT_EQ(test_support::QueryColumn(emptyPath, "SELECT FILM_ID FROM FILMY ORDER BY FILM_ID"), keys);
    EXPECT_EQ(QueryRows(emptyPath, "SELECT count(*) FROM pragma_table_info('FILMY')").at(0).at(0), "44");

    struct Case {
        const char* sql;
        const char* table;
        const char* field;
    };
    for (const auto& c : {Case{"ALTER TABLE FILMY ADD COLUMN MOJE TEXT(50); UPDATE FILMY SET MOJE = 'własne' "
                               "WHERE rowid = 7;",
                               "FILMY", "MOJE"},
                          Case{"ALTER TABLE WYPOZYCZ ADD COLUMN UWAGI TEXT; UPDATE WYPOZYCZ SET UWAGI = 'pilne';",
                               "WYPOZYCZ", "UWAGI"}}) {
        const patch_test::UpgradedCatalogue upgraded(Filmy(c.sql, Level::ReadyLong));
        const auto& host = upgraded.host;
        EXPECT_EQ(upgraded.outcome(), FileOutcome::ConversionError) << c.field;
        ASSERT_FALSE(host->notices.empty());
        EXPECT_EQ(host->notices.back().text,
                  std::string("Wystąpił nieznany błąd konwersji dla bazy: filmy.mdb tabela: ") + c.table);
        EXPECT_EQ(host->causes.at(0), patch::UncarriedFieldCause(c.table, c.field));
        EXPECT_NE(host->causes.at(0).find(std::string("pole ") + c.field + " tabeli " + c.table), std::string::npos);
        EXPECT_EQ(DumpContent(upgraded.path), upgraded.before) << c.field;
    }
}

TEST(OddFilms, MissingFieldIsReportedAndTheFileKept)
{
    ExpectReportedAndUnchanged(Filmy("ALTER TABLE FILMY DROP COLUMN LangSubTitles;"));
}

TEST(OddFilms, FieldsInAnotherOrderAreCopiedByPositionOrReported)
{
    // Two text fields that swapped places: copied by position, every row arrives.
    CatalogueFolder swapped;
    const auto swappedPath = swapped.Add("filmy.mdb", Level::ReadyYesNo, 25, 5);
    ExecuteSql(swappedPath,
               "ALTER TABLE FILMY RENAME COLUMN T_ORG TO X; ALTER TABLE FILMY RENAME COLUMN T_PL TO T_ORG;"
               "ALTER TABLE FILMY RENAME COLUMN X TO T_PL;");
    const auto titles = test_support::QueryColumn(swappedPath, "SELECT T_PL FROM FILMY ORDER BY ID_CD");
    EXPECT_EQ(swapped.Upgrade()->outcomes.at(0), FileOutcome::Upgraded);
    EXPECT_EQ(test_support::QueryColumn(swappedPath, "SELECT T_ORG FROM FILMY ORDER BY FILM_ID"), titles);

    // A text field moved to the end shifts text into number fields: nothing may be lost.
    ExpectReportedAndUnchanged(
        Filmy("ALTER TABLE FILMY DROP COLUMN KRAJ; ALTER TABLE FILMY ADD COLUMN KRAJ TEXT(100);"));
}

TEST(OddFilms, TextLongerThanItsTargetFieldIsReportedAndKept)
{
    // Another tool wrote 300 characters into the 150-character title.
    ExpectReportedAndUnchanged(
        Filmy("UPDATE FILMY SET T_ORG = replace(printf('%.300c', 'x'), 'x', 'ż') WHERE ID_CD = (SELECT max(ID_CD) "
              "FROM FILMY);"));
}

TEST(OddFilms, NullInALongJestIsReportedAndEveryRowKept)
{
    ExpectReportedAndUnchanged(
        Filmy("UPDATE FILMY SET JEST = NULL WHERE FILM_ID = (SELECT max(FILM_ID) FROM FILMY);", Level::ReadyLong));
}

TEST(OddFilms, TenMegabyteMemoArrivesWhole)
{
    CatalogueFolder folder;
    const auto path = folder.Add("filmy.mdb", Level::ReadyYesNo, 5, 2);
    ExecuteSql(path,
               "UPDATE FILMY SET OPIS = replace(printf('%.5242880c', 'x'), 'x', 'ó') WHERE ID_CD = "
               "(SELECT min(ID_CD) FROM FILMY);");
    const auto digest = "SELECT length(OPIS), substr(OPIS, 1000000, 4), hex(substr(OPIS, -3)) FROM FILMY ORDER BY ";
    const auto before = QueryRows(path, std::string(digest) + "ID_CD");

    EXPECT_EQ(folder.Upgrade()->outcomes.at(0), FileOutcome::Upgraded);
    EXPECT_EQ(QueryRows(path, std::string(digest) + "FILM_ID"), before);
    EXPECT_EQ(before.at(0).at(0), "5242880");
}

TEST(OddFilms, DuplicateFilmKeysAreAllKept)
{
    CatalogueFolder folder;
    const auto path = folder.Add("filmy.mdb", Level::ReadyYesNo, 25, 5);
    // A table whose primary key was lost lets the same key in twice.
    ExecuteSql(path,
               "DROP INDEX \"FILMY.PrimaryKey\"; DELETE FROM MSysIndexes WHERE TableName = 'FILMY';"
               "UPDATE FILMY SET ID_CD = (SELECT min(ID_CD) FROM FILMY) WHERE ID_CD IN "
               "(SELECT ID_CD FROM FILMY ORDER BY ID_CD LIMIT 2 OFFSET 1);");
    const auto key = *QueryRows(path, "SELECT min(ID_CD) FROM FILMY").at(0).at(0);
    const auto titles = test_support::QueryColumn(path, "SELECT T_ORG FROM FILMY ORDER BY ID_CD, T_ORG");

    EXPECT_EQ(folder.Upgrade()->outcomes.at(0), FileOutcome::Upgraded);
    EXPECT_EQ(test_support::QueryColumn(path, "SELECT T_ORG FROM FILMY ORDER BY FILM_ID, T_ORG"), titles);
    EXPECT_EQ(QueryRows(path, "SELECT count(*) FROM FILMY WHERE FILM_ID = " + key).at(0).at(0), "3");
    EXPECT_EQ(QueryRows(path, "SELECT count(*) FROM FILMY WHERE ID_CD = " + key).at(0).at(0), "3");
}

}  // namespace

// Bytes that are no UTF-8 text, in a Text or a Memo field (another tool wrote
// them, or a BLOB): nothing is written as text other tools cannot read; the
// file is refused with the table, the field and the row named.
TEST(OddFilms, BytesThatAreNoTextRefuseTheFileWithTheirPlaceNamed)
{
    struct Case {
        const char* sql;
        const char* field;
    };
    for (const auto& c : {Case{"UPDATE FILMY SET T_ORG = CAST(X'C328A0' AS TEXT) WHERE rowid = 7", "T_ORG"},
                          Case{"UPDATE FILMY SET OPIS = X'4F70697320FF' WHERE rowid = 7", "OPIS"}}) {
        CatalogueFolder folder;
        const auto path = folder.Add("filmy.mdb", Level::ReadyYesNo, 25, 5);
        ExecuteSql(path, c.sql);
        // The seventh row in rowid order, the order of the copy.
        const auto key = QueryRows(path, "SELECT ID_CD FROM FILMY WHERE rowid = 7").at(0).at(0).value();
        ASSERT_EQ(QueryRows(path, "SELECT count(*) FROM FILMY WHERE rowid <= 7").at(0).at(0), "7");
        const auto before = DumpContent(path);
        const auto host = folder.Upgrade();
        EXPECT_EQ(host->outcomes.at(0), FileOutcome::ConversionError) << c.field;
        ASSERT_FALSE(host->notices.empty());
        EXPECT_EQ(host->notices.back().text, kConversionError);
        EXPECT_NE(host->causes.at(0).find(std::string("wartość pola ") + c.field + " w wierszu 7 tabeli FILMY (ID_CD " +
                                          key + ") nie jest poprawnym tekstem"),
                  std::string::npos)
            << host->causes.at(0);
        EXPECT_EQ(DumpContent(path), before) << c.field;
    }
}
