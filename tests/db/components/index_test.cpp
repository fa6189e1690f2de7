// Index maintenance of the table component and the field list splitter.

#include "component_fixture.h"
#include "db/TovaskADODB/split_field_list.h"

using namespace components_test;
using TovaskADODB::TIndexOption;

namespace {

TEST(SplitFieldList, SeparatorsTrimmingAndEmptyEntries)
{
    using List = std::vector<std::string>;
    auto split = [](const std::string& text) {
        List list{"stale"};
        TovaskADODB::SplitFieldList(text, list);
        return list;
    };
    EXPECT_EQ(split("A; B;"), (List{"A", "B"}));
    EXPECT_EQ(split("A;;B"), (List{"A", "", "B"}));
    EXPECT_EQ(split(""), List{});
    EXPECT_EQ(split(" A \t;\r\nB\nC\r\n"), (List{"A", "", "B", "C"}));
    EXPECT_EQ(split("A\n\rB"), (List{"A", "", "B"}));
}

class IndexMaintenance : public LoansCatalogue {
protected:
    std::vector<std::string> Indexes() const { return StoredIndexNames(path, "WYPOZYCZ"); }

    std::optional<engine::Index> Find(const std::string& name)
    {
        for (const engine::Index& index : dbFilm.RequireDaoDatabase().tableDef("WYPOZYCZ").indexes())
            if (index.name() == name) return index;
        return std::nullopt;
    }
};

TEST_F(IndexMaintenance, DropFieldIndexesMatchesTheFirstFieldWithItsCase)
{
    MakeCatalogue(path, R"sql(
        CREATE INDEX "WYPOZYCZ.PAIR" ON WYPOZYCZ (FILM_ID, ID_OSOBY);
        CREATE INDEX "WYPOZYCZ.SECOND" ON WYPOZYCZ (ID_OSOBY, FILM_ID);
        CREATE TABLE LOWER (film_id LONG);
        CREATE INDEX "LOWER.film_id" ON LOWER (film_id);
    )sql");
    mdbFilmy.DropFieldIndexes("FILM_ID");
    EXPECT_EQ(Indexes(), (std::vector<std::string>{"WYPOZYCZ.DATA_W", "WYPOZYCZ.DATA_Z", "WYPOZYCZ.ID_OSOBY",
                                                   "WYPOZYCZ.PrimaryKey", "WYPOZYCZ.SECOND"}));
    mdbFilmy.SetTableName("LOWER");
    mdbFilmy.DropFieldIndexes("FILM_ID");
    EXPECT_EQ(StoredIndexNames(path, "LOWER"), std::vector<std::string>{"LOWER.film_id"});

    // Failures are swallowed: a missing table, or no database at all.
    mdbFilmy.SetTableName("BRAK");
    mdbFilmy.DropFieldIndexes("FILM_ID");
    mdbClone.SetTableName("WYPOZYCZ");
    mdbClone.DropFieldIndexes("ID_OSOBY");
    EXPECT_EQ(Indexes().size(), 5u);
}

TEST_F(IndexMaintenance, DropFieldIndexesLetsTheFileBeCompactedAfterwards)
{
    mdbFilmy.DropFieldIndexes("DATA_W");
    mdbFilmy.DropFieldIndexes("DATA_Z");
    dbFilm.CloseBase();
    EXPECT_FALSE(engine::isFileOpenInProcess(path));
    EXPECT_NO_THROW(dbFilm.Compact(path, ""));
    EXPECT_EQ(Indexes().size(), 3u);
}

TEST_F(IndexMaintenance, CreateIndexesMakesPlainAndUnnamedIndexes)
{
    for (const char* name : {"DATA_W", "DATA_Z", "FILM_ID", "ID_OSOBY"}) mdbFilmy.DropFieldIndexes(name);
    for (const char* name : {"DATA_W", "DATA_Z", "FILM_ID", "ID_OSOBY"}) mdbFilmy.IndexDefs().Add(name, name);
    mdbFilmy.IndexDefs().Add("", "UWAGI; ZWROT");
    mdbFilmy.IndexDefs().Add("U", "ID_OSOBY", {TIndexOption::Unique});
    mdbFilmy.CreateIndexes();
    for (const char* name : {"DATA_W", "DATA_Z", "FILM_ID", "ID_OSOBY"}) {
        auto index = Find(name);
        ASSERT_TRUE(index) << name;
        EXPECT_FALSE(index->primary() || index->unique());
        EXPECT_EQ(index->fields(), std::vector<std::string>{name});
    }
    ASSERT_TRUE(Find("UWAGI"));
    EXPECT_EQ(Find("UWAGI")->fields(), (std::vector<std::string>{"UWAGI", "ZWROT"}));
    ASSERT_TRUE(Find("U"));
    EXPECT_TRUE(Find("U")->unique());
}

TEST_F(IndexMaintenance, CreateIndexesFiltersByOptionsAndReplacesThePrimaryKey)
{
    for (TIndexOption option : {TIndexOption::Descending, TIndexOption::CaseInsensitive, TIndexOption::Expression,
                                TIndexOption::NonMaintained})
        mdbFilmy.IndexDefs().Add("X" + std::to_string(static_cast<int>(option)), "UWAGI",
                                 {option, TIndexOption::Unique});
    // Two primary definitions feed one key named after the last; the primary-and-unique
    // one that shares its name gets no second index.
    mdbFilmy.IndexDefs().Add("Klucz", "ID", {TIndexOption::Primary});
    mdbFilmy.IndexDefs().Add("klucz", "FILM_ID", {TIndexOption::Primary, TIndexOption::Unique});
    mdbFilmy.CreateIndexes();
    EXPECT_FALSE(Find("PrimaryKey"));
    ASSERT_TRUE(Find("klucz"));
    EXPECT_TRUE(Find("klucz")->primary());
    EXPECT_EQ(Find("klucz")->fields(), (std::vector<std::string>{"ID", "FILM_ID"}));
    EXPECT_EQ(Indexes().size(), 5u);
}

TEST_F(IndexMaintenance, CreateIndexesFailures)
{
    mdbFilmy.IndexDefs().Add("", " ; ");
    EXPECT_EQ(DatabaseErrorOf([&] { mdbFilmy.CreateIndexes(); }), "mdbFilmy: Indeks nie ma ani nazwy, ani pól.");

    // A failure part-way keeps what was stored before it.
    mdbFilmy.IndexDefs().Clear();
    mdbFilmy.IndexDefs().Add("NOWY", "UWAGI");
    mdbFilmy.IndexDefs().Add("FILM_ID", "FILM_ID");  // exists already
    EXPECT_ANY_THROW(mdbFilmy.CreateIndexes());
    EXPECT_EQ(Indexes().size(), 6u);

    dbFilm.CloseBase();
    EXPECT_EQ(DatabaseErrorOf([&] { mdbFilmy.CreateIndexes(); }), "Baza nie jest otwarta.");
}

}  // namespace
