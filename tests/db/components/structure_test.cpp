// Structure changes through the table component: AddField, DeleteField, and
// rolling them back with the database component's transaction, which writes
// the file anew at its commit.

#include <sys/stat.h>

#include <filesystem>

#include "component_fixture.h"

using namespace components_test;
using engine::FieldKind;
using engine::Variant;

namespace {

ino_t InodeOf(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

std::vector<std::string> Columns(const std::string& path)
{
    return QueryColumn(path, "SELECT name FROM pragma_table_info('WYPOZYCZ') WHERE name NOT LIKE 'MSys%'");
}

TEST_F(LoansCatalogue, AddFieldAppliesTheSizeRule)
{
    EXPECT_TRUE(mdbFilmy.AddField("TYTUL", FieldKind::Text, 150, false, true, false));
    EXPECT_TRUE(mdbFilmy.AddField("NUMER", FieldKind::Long, 80, true, false, false));
    engine::TableDef table = dbFilm.RequireDaoDatabase().tableDef("WYPOZYCZ");
    EXPECT_EQ(table.field("TYTUL").size(), 150);
    EXPECT_TRUE(table.field("TYTUL").allowZeroLength());
    EXPECT_EQ(table.field("NUMER").size(), 0);
    EXPECT_TRUE(table.field("NUMER").required());
    EXPECT_FALSE(table.field("NUMER").allowZeroLength());
    mdbFilmy.Open();  // refreshes the definitions
    ASSERT_EQ(mdbFilmy.FieldDefs().Count(), 9);
    EXPECT_EQ(mdbFilmy.FieldDefs()[8].Name, "NUMER");

    EXPECT_EQ(TovaskADODB::FieldSizeFor(static_cast<FieldKind>(18), 7), 7);
    EXPECT_EQ(TovaskADODB::FieldSizeFor(FieldKind::DateTime, 7), 0);
}

TEST_F(LoansCatalogue, AddFieldWithPrimaryKeyReplacesThePrimaryIndex)
{
    EXPECT_TRUE(mdbFilmy.AddField("NR", FieldKind::Long, 0, false, false, true));
    int primaries = 0;
    for (const engine::Index& index : dbFilm.RequireDaoDatabase().tableDef("WYPOZYCZ").indexes()) {
        if (!index.primary()) continue;
        ++primaries;
        EXPECT_EQ(index.name(), "PrimaryKey");
        EXPECT_EQ(index.fields(), std::vector<std::string>{"NR"});
    }
    EXPECT_EQ(primaries, 1);
}

TEST_F(LoansCatalogue, AddFieldRefusals)
{
    // The engine's refusal is a false result only.
    EXPECT_FALSE(mdbFilmy.AddField("uwagi", FieldKind::Text, 10, false, true, false));

    mdbFilmy.Open();
    EXPECT_EQ(DatabaseErrorOf([&] { mdbFilmy.AddField("NOWE", FieldKind::Long, 0, false, false, false); }),
              "Tabela jest otwarta.");
    mdbFilmy.Close();
    EXPECT_EQ(Columns(path).size(), 7u);

    dbFilm.SetConnected(false);
    EXPECT_EQ(DatabaseErrorOf([&] { mdbFilmy.AddField("X", FieldKind::Long, 0, false, false, false); }),
              "Baza nie jest otwarta.");
    EXPECT_EQ(DatabaseErrorOf([&] { mdbClone.AddField("X", FieldKind::Long, 0, false, false, false); }),
              "Tabela nie została określona.");
}

TEST_F(LoansCatalogue, DeleteFieldReportsFailureAsFalse)
{
    EXPECT_FALSE(mdbFilmy.DeleteField("BRAK"));
    EXPECT_FALSE(mdbFilmy.DeleteField("FILM_ID"));  // still in an index
    EXPECT_TRUE(mdbFilmy.DeleteField("UWAGI"));
    EXPECT_EQ(Columns(path).size(), 6u);
    dbFilm.CloseBase();
    EXPECT_FALSE(mdbFilmy.DeleteField("ZWROT"));
}

TEST_F(LoansCatalogue, RollbackUndoesStructureAndRows)
{
    const auto columnsBefore = Columns(path);
    const auto indexesBefore = StoredIndexNames(path, "WYPOZYCZ");

    dbFilm.BeginTrans();
    mdbFilmy.DropFieldIndexes("FILM_ID");
    EXPECT_TRUE(mdbFilmy.DeleteField("FILM_ID"));
    EXPECT_TRUE(mdbFilmy.AddField("ID_CD", FieldKind::Long, 0, false, false, false));
    mdbFilmy.IndexDefs().Add("ID_CD", "ID_CD");
    mdbFilmy.CreateIndexes();
    mdbFilmy.Open();
    mdbFilmy.EmptyTable();
    mdbFilmy.AppendRecord({Variant(9), Variant(), Variant(), Variant(), Variant(), Variant(), Variant(7)});
    mdbFilmy.Close();
    dbFilm.RollbackTrans();
    EXPECT_FALSE(dbFilm.InTransaction());

    dbFilm.CloseBase();
    EXPECT_EQ(Columns(path), columnsBefore);
    EXPECT_EQ(StoredIndexNames(path, "WYPOZYCZ"), indexesBefore);
    EXPECT_EQ(QueryColumn(path, "SELECT ID FROM WYPOZYCZ ORDER BY ID"), (std::vector<std::string>{"1", "2", "3"}));
}

// The rebuild's way through a transaction: a table emptied while a clone reads
// it gets its new rows in the new file. The file itself is not written before
// the commit puts the new file in its place, and Compact after that has
// nothing left to do.
TEST_F(LoansCatalogue, CommitWritesTheFileAnewAndCompactFindsNothingLeft)
{
    const std::string before = FileBytes(path);
    const auto indexes = StoredIndexNames(path, "WYPOZYCZ");
    const ino_t inode = InodeOf(path);
    BeginRebuild();
    EXPECT_EQ(mdbFilmy.RecordCount(), 0);
    mdbFilmy.AppendRecord({Variant(9), Variant(90)});
    mdbFilmy.AppendRecord({Variant(8), Variant(80)});
    mdbFilmy.Close();
    mdbFilmy.Open();
    EXPECT_EQ(mdbFilmy.RecordCount(), 2);
    EXPECT_EQ(mdbClone.RecordCount(), 3);
    mdbFilmy.Close();
    mdbClone.Close();
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_FALSE(std::filesystem::exists(path + "-journal"));

    dbFilm.CommitTrans();
    EXPECT_NE(InodeOf(path), inode);
    // The new file is the one used from here on.
    mdbFilmy.Open();
    EXPECT_EQ(mdbFilmy.RecordCount(), 2);
    mdbFilmy.Close();
    dbFilm.CloseBase();
    const ino_t written = InodeOf(path);
    dbFilm.Compact(path, "");
    EXPECT_EQ(InodeOf(path), written);

    EXPECT_EQ(QueryColumn(path, "SELECT ID || '/' || FILM_ID FROM WYPOZYCZ ORDER BY rowid"),
              (std::vector<std::string>{"9/90", "8/80"}));
    EXPECT_EQ(StoredIndexNames(path, "WYPOZYCZ"), indexes);
    EXPECT_EQ(QueryColumn(path, "SELECT IndexName FROM MSysIndexes"), std::vector<std::string>{"PrimaryKey"});
    EXPECT_EQ(QueryColumn(path, "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"filmy.mdb"});
}

// A unique index still refuses the append that breaks it, though the other
// indexes of the table are built only at the commit; a rollback then leaves
// the file as it was and nothing beside it.
TEST_F(LoansCatalogue, DuplicateKeyFailsItsAppendAndTheRollbackLeavesNothing)
{
    const std::string before = FileBytes(path);
    BeginRebuild();
    mdbFilmy.AppendRecord({Variant(5)});
    EXPECT_THROW(mdbFilmy.AppendRecord({Variant(5)}), std::exception);
    mdbFilmy.Close();
    mdbClone.Close();
    dbFilm.RollbackTrans();
    dbFilm.CloseBase();
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"filmy.mdb"});
}

}  // namespace
