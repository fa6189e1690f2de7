// The tables, fields and indexes of each level, read back with SQLite.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "sample_file_reader.h"
#include "tests/support/films_target_structure.h"

using namespace sample_test;

namespace {

const std::vector<ColumnInfo> target = [] {
    std::vector<ColumnInfo> columns;
    for (const auto& column : test_support::kFilmsTargetColumns) columns.push_back({column.name, column.type});
    return columns;
}();

const std::vector<ColumnInfo> oldLoans = {
    {"FILM_ID", "LONG"}, {"ID_OSOBY", "LONG"}, {"DATA_W", "DATETIME"}, {"DATA_Z", "DATETIME"}, {"KASUJ", "BIT"},
};

const std::set<std::string> filmsDropList = {"ID_CD",  "T_ORG",   "T_PL",   "GATUNEK", "FILM_ID",
                                             "SER_ID", "T_ORG_S", "T_PL_S", "SERIA",   "ODCINEK"};
const std::set<std::string> loansDropList = {"FILM_ID", "ID_OSOBY", "DATA_W", "DATA_Z", "ID_CD"};

// The target's first fields with the old key, a numeric OCENA and a Yes/No JEST.
std::vector<ColumnInfo> oldFilms(std::size_t count)
{
    std::vector<ColumnInfo> columns(target.begin(), target.begin() + static_cast<std::ptrdiff_t>(count));
    columns[0] = {"ID_CD", "LONG"};
    columns[27] = {"OCENA", "LONG"};
    columns[30] = {"JEST", "BIT"};
    return columns;
}

std::vector<ColumnInfo> withIdCd(std::vector<ColumnInfo> columns)
{
    columns.push_back({"ID_CD", "LONG"});
    return columns;
}

CatalogueReader open(const std::string& level)
{
    return CatalogueReader(EveryLevelFolder() / (level + ".mdb"));
}

std::vector<std::string> indexNames(const CatalogueReader& file, const std::string& table)
{
    std::vector<std::string> names;
    for (const auto& index : file.indexes(table)) names.push_back(index.name);
    return names;
}

}  // namespace

TEST(SampleStructure, EarlierLevelsHaveTheOldFieldsUpToTheirPatch)
{
    EXPECT_EQ(open("no-aka").columns("FILMY"), oldFilms(31));
    EXPECT_EQ(open("no-subtype").columns("FILMY"), oldFilms(32));
    EXPECT_EQ(open("no-videodvd").columns("FILMY"), oldFilms(34));
    EXPECT_EQ(open("ready-yesno").columns("FILMY"), oldFilms(37));
    EXPECT_EQ(open("no-loans").columns("FILMY"), oldFilms(37));
    for (const char* level : {"no-aka", "no-subtype", "no-videodvd", "ready-yesno"})
        EXPECT_EQ(open(level).columns("WYPOZYCZ"), oldLoans) << level;
}

TEST(SampleStructure, ReadyLongIsInTheNewOrderWithItsOwnIdCd)
{
    std::vector<ColumnInfo> films(target.begin(), target.begin() + 37);
    films[27] = {"OCENA", "LONG"};
    const auto file = open("ready-long");
    EXPECT_EQ(file.columns("FILMY"), withIdCd(films));
    EXPECT_EQ(file.columns("WYPOZYCZ"), withIdCd(oldLoans));
}

TEST(SampleStructure, UpgradedHasTheTargetFieldsAndExactlyTheTenIndexes)
{
    const auto file = open("upgraded");
    EXPECT_EQ(file.columns("FILMY"), target);
    EXPECT_EQ(file.columns("WYPOZYCZ"), withIdCd(oldLoans));

    const auto indexes = file.indexes("FILMY");
    std::vector<std::string> names;
    for (const auto& index : indexes) {
        names.push_back(index.name);
        EXPECT_FALSE(index.unique) << index.name;
        EXPECT_EQ(index.columns, std::vector<std::string>{index.name.substr(6)}) << index.name;
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"FILMY.FILM_ID", "FILMY.GATUNEK", "FILMY.ID_CD", "FILMY.ODCINEK", "FILMY.SERIA",
                                        "FILMY.SER_ID", "FILMY.T_ORG", "FILMY.T_ORG_S", "FILMY.T_PL", "FILMY.T_PL_S"}));
    EXPECT_EQ(indexNames(file, "WYPOZYCZ"),
              (std::vector<std::string>{"WYPOZYCZ.DATA_W", "WYPOZYCZ.DATA_Z", "WYPOZYCZ.FILM_ID", "WYPOZYCZ.ID_CD",
                                        "WYPOZYCZ.ID_OSOBY"}));
    EXPECT_EQ(file.integer("SELECT COUNT(*) FROM MSysIndexes WHERE TableName = 'FILMY'"), 0);
}

// The upgrade drops only indexes whose first field is on its drop lists.
TEST(SampleStructure, OldIndexesStartWithFieldsTheUpgradeDrops)
{
    for (const char* level : {"no-aka", "no-subtype", "no-videodvd", "ready-yesno", "ready-long", "no-loans"}) {
        SCOPED_TRACE(level);
        const auto file = open(level);
        for (const auto& index : file.indexes("FILMY")) {
            EXPECT_TRUE(index.name.starts_with("FILMY.")) << index.name;
            EXPECT_TRUE(filmsDropList.contains(index.columns.at(0))) << index.name;
        }
        if (std::string(level) == "no-loans") continue;
        for (const auto& index : file.indexes("WYPOZYCZ")) {
            EXPECT_TRUE(index.name.starts_with("WYPOZYCZ.")) << index.name;
            EXPECT_TRUE(loansDropList.contains(index.columns.at(0))) << index.name;
        }
    }
    EXPECT_EQ(indexNames(open("ready-yesno"), "FILMY"),
              (std::vector<std::string>{"FILMY.GATUNEK", "FILMY.PrimaryKey", "FILMY.T_ORG", "FILMY.T_PL"}));
    EXPECT_EQ(
        indexNames(open("ready-yesno"), "WYPOZYCZ"),
        (std::vector<std::string>{"WYPOZYCZ.DATA_W", "WYPOZYCZ.DATA_Z", "WYPOZYCZ.FILM_ID", "WYPOZYCZ.ID_OSOBY"}));
}

TEST(SampleStructure, PrimaryKeyIsAUniqueIndexListedInMSysIndexes)
{
    for (auto [level, key] :
         {std::pair{"ready-yesno", "ID_CD"}, std::pair{"no-aka", "ID_CD"}, std::pair{"ready-long", "FILM_ID"}}) {
        SCOPED_TRACE(level);
        const auto file = open(level);
        const auto indexes = file.indexes("FILMY");
        const auto primary = std::find_if(indexes.begin(), indexes.end(),
                                          [](const IndexInfo& i) { return i.name == "FILMY.PrimaryKey"; });
        ASSERT_NE(primary, indexes.end());
        EXPECT_TRUE(primary->unique);
        EXPECT_EQ(primary->columns, std::vector<std::string>{key});
        EXPECT_EQ(file.texts("SELECT IndexName FROM MSysIndexes WHERE TableName = 'FILMY'"),
                  std::vector<std::string>{"PrimaryKey"});
    }
}

TEST(SampleStructure, EachLevelHasItsTables)
{
    const std::vector<std::string> catalogue = {"FILMY", "MSysFields", "MSysIndexes", "OSOBY", "WYPOZYCZ"};
    for (const char* level : {"no-aka", "no-subtype", "no-videodvd", "ready-yesno", "ready-long", "upgraded"})
        EXPECT_EQ(open(level).tables(), catalogue) << level;
    EXPECT_EQ(open("no-loans").tables(), (std::vector<std::string>{"FILMY", "MSysFields", "MSysIndexes", "OSOBY"}));
    const auto other = open("no-films").tables();
    EXPECT_EQ(std::count_if(other.begin(), other.end(), [](const std::string& t) { return !t.starts_with("MSys"); }),
              2);
    for (const auto& table : other) {
        EXPECT_NE(table, "FILMY");
        EXPECT_NE(table, "WYPOZYCZ");
    }
}

TEST(SampleStructure, FieldPropertiesCoverEveryFieldAndMatchTheLevel)
{
    const auto old = open("ready-yesno");
    EXPECT_EQ(old.integer("SELECT COUNT(*) FROM MSysFields WHERE TableName = 'FILMY'"), 37);
    EXPECT_EQ(old.integer("SELECT COUNT(*) FROM MSysFields WHERE Required <> 0"), 0);

    // The target's Text and Memo fields allow empty texts, its other fields do not.
    const auto upgraded = open("upgraded");
    for (const auto& column : target) {
        const bool textual = column.type.starts_with("TEXT") || column.type == "MEMO";
        EXPECT_EQ(
            upgraded.integer("SELECT AllowZeroLength FROM MSysFields WHERE TableName = 'FILMY' AND FieldName = '" +
                             column.name + "'"),
            textual ? 1 : 0)
            << column.name;
    }
}
