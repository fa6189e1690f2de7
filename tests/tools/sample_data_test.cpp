// The data of the generated catalogues: valid for its fields, consistent
// between the tables, realistic, and the same for the same seed.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "sample_file_reader.h"
#include "tools/sample/sample_catalogue.h"

using namespace sample_test;

namespace {

const std::vector<std::string> levels = {"no-aka",     "no-subtype", "no-videodvd", "ready-yesno",
                                         "ready-long", "upgraded",   "no-loans",    "no-films"};
const std::vector<std::string> levelsWithLoans = {"no-aka",      "no-subtype", "no-videodvd",
                                                  "ready-yesno", "ready-long", "upgraded"};

std::filesystem::path fileOf(const std::string& level)
{
    return EveryLevelFolder() / (level + ".mdb");
}

std::string filmKey(const std::string& level)
{
    return level == "ready-long" || level == "upgraded" ? "FILM_ID" : "ID_CD";
}

std::string bytesOf(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The count of values in the column that its declared type does not allow.
std::int64_t misfits(const CatalogueReader& file, const std::string& table, const ColumnInfo& column)
{
    const std::string c = "\"" + column.name + "\"";
    std::string bad;
    if (column.type == "BIT")
        bad = c + " IS NULL OR " + c + " NOT IN (0, 1) OR typeof(" + c + ") <> 'integer'";
    else if (column.type == "LONG")
        bad = "typeof(" + c + ") NOT IN ('integer', 'null')";
    else if (column.type == "DATETIME")
        bad = c + " NOT GLOB '[12][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]'";
    else if (column.type == "MEMO")
        bad = "typeof(" + c + ") NOT IN ('text', 'null') OR " + c + " = ''";
    else if (column.type.starts_with("TEXT("))
        bad = "typeof(" + c + ") NOT IN ('text', 'null') OR " + c + " = '' OR length(" + c + ") > " +
              column.type.substr(5, column.type.size() - 6);
    else
        return -1;
    return file.integer("SELECT COUNT(*) FROM \"" + table + "\" WHERE " + bad);
}

}  // namespace

TEST(SampleData, EveryFileIsIntactOneFileInRollbackJournalMode)
{
    std::vector<std::string> expected;
    for (const auto& level : levels) expected.push_back(level + ".mdb");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(EveryLevelFolder().entries(), expected);  // no journals or temporary files left
    for (const auto& level : levels) {
        const CatalogueReader file(fileOf(level));
        EXPECT_EQ(file.text("PRAGMA integrity_check"), "ok") << level;
        EXPECT_EQ(file.text("PRAGMA journal_mode"), "delete") << level;
    }
}

// Text sizes count characters: SQLite's length() of a text does too.
TEST(SampleData, EveryValueFitsItsFieldKindAndSize)
{
    for (const auto& level : levels) {
        const CatalogueReader file(fileOf(level));
        for (const auto& table : file.tables()) {
            if (table.starts_with("MSys")) continue;
            for (const auto& column : file.columns(table))
                EXPECT_EQ(misfits(file, table, column), 0) << level << " " << table << "." << column.name;
        }
    }
}

TEST(SampleData, LoansReferToExistingFilmsAndPeopleAtSensibleDates)
{
    for (const auto& level : levelsWithLoans) {
        SCOPED_TRACE(level);
        const CatalogueReader file(fileOf(level));
        const std::string key = filmKey(level);
        EXPECT_EQ(file.integer("SELECT COUNT(*) FROM FILMY"), everyLevelFilms);
        EXPECT_EQ(file.integer("SELECT COUNT(DISTINCT " + key + ") FROM FILMY"), everyLevelFilms);
        EXPECT_EQ(file.integer("SELECT COUNT(*) FROM WYPOZYCZ"), everyLevelLoans);
        EXPECT_EQ(file.integer("SELECT COUNT(*) FROM WYPOZYCZ w WHERE NOT EXISTS "
                               "(SELECT 1 FROM FILMY f WHERE f." +
                               key + " = w.FILM_ID)"),
                  0);
        EXPECT_EQ(file.integer("SELECT COUNT(*) FROM WYPOZYCZ w WHERE NOT EXISTS "
                               "(SELECT 1 FROM OSOBY o WHERE o.ID_OSOBY = w.ID_OSOBY)"),
                  0);
        EXPECT_EQ(file.integer("SELECT COUNT(*) FROM WYPOZYCZ WHERE DATA_Z <= DATA_W"), 0);
        EXPECT_GT(file.integer("SELECT COUNT(*) FROM WYPOZYCZ WHERE DATA_Z IS NULL"), 0);
        EXPECT_EQ(file.integer("SELECT COUNT(*) FROM WYPOZYCZ w JOIN FILMY f ON f." + key +
                               " = w.FILM_ID "
                               "WHERE w.DATA_W < date(f.DATA_DOD)"),
                  0);
    }
}

TEST(SampleData, IdCdValuesMatchTheLevel)
{
    // Ready with a Long JEST: the films' own ID_CD is sometimes null or 0, and
    // each loan carries its film's.
    const CatalogueReader ready(fileOf("ready-long"));
    EXPECT_GT(ready.integer("SELECT COUNT(*) FROM FILMY WHERE ID_CD IS NULL"), 0);
    EXPECT_GT(ready.integer("SELECT COUNT(*) FROM FILMY WHERE ID_CD = 0"), 0);
    EXPECT_GT(ready.integer("SELECT COUNT(*) FROM FILMY WHERE ID_CD <> 0 AND ID_CD <> FILM_ID"), 0);
    EXPECT_EQ(ready.integer("SELECT COUNT(*) FROM WYPOZYCZ w JOIN FILMY f ON f.FILM_ID = w.FILM_ID "
                            "WHERE w.ID_CD IS NOT f.ID_CD"),
              0);
    EXPECT_EQ(ready.integer("SELECT COUNT(*) FROM FILMY WHERE JEST IS NULL OR JEST NOT IN (0, 1)"), 0);

    const CatalogueReader upgraded(fileOf("upgraded"));
    EXPECT_EQ(upgraded.integer("SELECT COUNT(*) FROM FILMY WHERE ID_CD IS NOT FILM_ID"), 0);
    EXPECT_EQ(upgraded.integer("SELECT COUNT(*) FROM WYPOZYCZ WHERE ID_CD IS NOT FILM_ID"), 0);
    EXPECT_EQ(upgraded.integer(
                  "SELECT COUNT(*) FROM FILMY WHERE OCENA IS NOT NULL AND "
                  "(CAST(OCENA AS INTEGER) NOT BETWEEN 1 AND 10 OR CAST(CAST(OCENA AS INTEGER) AS TEXT) <> OCENA)"),
              0);
}

TEST(SampleData, FilmsLookLikeAPolishCatalogue)
{
    const CatalogueReader file(fileOf("ready-yesno"));
    EXPECT_GE(file.integer("SELECT MIN(length(OPIS)) FROM FILMY"), 300);
    EXPECT_LE(file.integer("SELECT MAX(length(OPIS)) FROM FILMY"), 2600);
    EXPECT_GT(file.integer("SELECT MAX(length(OPIS)) FROM FILMY"), 1500);
    for (const char* letter : {"ą", "ć", "ę", "ł", "ń", "ó", "ś", "ź", "ż", "Ś", "Ż", "Ł"})
        EXPECT_GT(file.integer(std::string("SELECT COUNT(*) FROM FILMY WHERE instr(OPIS, '") + letter + "') > 0"), 0)
            << letter;
    for (const char* field : {"OPIS", "AKTORZY", "UWAGI", "FOTO", "TLUMACZ", "OCENA", "AKA", "VideoDVD"}) {
        const std::string nulls = std::string("SELECT COUNT(*) FROM FILMY WHERE ") + field + " IS NULL";
        EXPECT_GT(file.integer(nulls), 0) << field;
        EXPECT_LT(file.integer(nulls), everyLevelFilms) << field;
    }
    EXPECT_EQ(file.integer("SELECT COUNT(*) FROM FILMY WHERE OCENA NOT BETWEEN 1 AND 10"), 0);
    EXPECT_GT(file.integer("SELECT COUNT(*) FROM FILMY WHERE JEST = 0"), 0);
    EXPECT_GT(file.integer("SELECT COUNT(*) FROM FILMY WHERE KRAJ = 'Polska' AND T_ORG = T_PL"), 0);
    EXPECT_GT(file.integer("SELECT COUNT(*) FROM FILMY WHERE T_ORG <> T_PL"), 0);
}

// The heavy shape fills the same films out: their keys, dates and loans stay.
TEST(SampleData, HeavyFilmsAreTheUsualFilmsAtAboutThreeKilobytesEach)
{
    const TempFolder folder;
    sample::SampleOptions options;
    options.films = 150;
    options.loans = 30;
    sample::WriteSampleCatalogue(folder / "usual.mdb", options);
    options.shape = sample::FilmShape::Heavy;
    sample::WriteSampleCatalogue(folder / "heavy.mdb", options);
    const CatalogueReader usual(folder / "usual.mdb");
    const CatalogueReader heavy(folder / "heavy.mdb");

    std::string rowBytes;
    for (const auto& column : heavy.columns("FILMY")) {
        EXPECT_EQ(misfits(heavy, "FILMY", column), 0) << column.name;
        rowBytes +=
            (rowBytes.empty() ? "" : " + ") + std::string("ifnull(length(CAST(\"") + column.name + "\" AS BLOB)), 0)";
    }
    const std::int64_t average = heavy.integer("SELECT avg(" + rowBytes + ") FROM FILMY");
    EXPECT_GT(average, 2600);
    EXPECT_LT(average, 3600);
    EXPECT_GT(heavy.integer("SELECT avg(length(T_PL)) FROM FILMY"), 100);
    EXPECT_EQ(heavy.integer("SELECT count(*) FROM FILMY WHERE OPIS IS NULL OR AKTORZY IS NULL"), 0);
    EXPECT_GT(heavy.integer("SELECT count(*) FROM FILMY WHERE instr(OPIS, 'ż') > 0"), 0);

    const auto same = "SELECT ID_CD || ' ' || DATA_DOD || ' ' || GATUNEK FROM FILMY ORDER BY rowid";
    EXPECT_EQ(heavy.texts(same), usual.texts(same));
    const auto loans = "SELECT FILM_ID || ' ' || DATA_W FROM WYPOZYCZ ORDER BY rowid";
    EXPECT_EQ(heavy.texts(loans), usual.texts(loans));
}

TEST(SampleData, SameSeedGivesTheSameBytesAndTheSameFilmsAtEveryLevel)
{
    const TempFolder folder;
    sample::SampleOptions options;
    options.level = sample::Level::ReadyLong;
    options.films = 120;
    options.loans = 40;
    options.seed = 7;
    sample::WriteSampleCatalogue(folder / "a.mdb", options);
    sample::WriteSampleCatalogue(folder / "b.mdb", options);
    EXPECT_EQ(bytesOf(folder / "a.mdb"), bytesOf(folder / "b.mdb"));

    options.seed = 8;
    sample::WriteSampleCatalogue(folder / "c.mdb", options);
    const auto titles = "SELECT T_ORG || '|' || ifnull(OPIS, '') FROM FILMY ORDER BY FILM_ID";
    EXPECT_NE(CatalogueReader(folder / "a.mdb").texts(titles), CatalogueReader(folder / "c.mdb").texts(titles));

    // More loans, another level: still the same films.
    options.seed = 7;
    options.loans = 90;
    options.level = sample::Level::Upgraded;
    sample::WriteSampleCatalogue(folder / "d.mdb", options);
    EXPECT_EQ(CatalogueReader(folder / "a.mdb").texts(titles), CatalogueReader(folder / "d.mdb").texts(titles));
}
