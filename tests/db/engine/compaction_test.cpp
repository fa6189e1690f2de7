// Compaction writes a smaller, sound copy without the hidden deleted columns.

#include "db/engine/engine_error.h"
#include "db/engine/schema.h"
#include "engine_test_support.h"

#include <fstream>

using namespace engine;
using engine_test::queryText;

namespace {

TEST(Compaction, WritesSoundSmallerCopyWithoutHiddenColumns)
{
    engine_test::TempDir dir;
    const std::string source = dir.file("films.mdb");
    const std::string target = dir.file("films.tmp");
    engine_test::makeSqliteFile(
        source,
        "CREATE TABLE F(ID LONG, OLD TEXT(200), KEEP TEXT(50), GONE MEMO);"
        "CREATE TABLE EMPTY_OF_FIELDS(X LONG); INSERT INTO EMPTY_OF_FIELDS VALUES(1);"
        "CREATE TABLE CHECKED(A LONG, B LONG, CHECK (B IS NULL OR B > A));"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000)"
        " INSERT INTO F SELECT i, printf('%.150c', 'o'), 'k' || i, printf('%.300c', 'g') FROM n;");
    {
        DbEngine dbEngine("3.6");
        auto database = dbEngine.createWorkspace("w", "Admin", "", 2)->openDatabase(source, false, false, "");
        {
            auto table = database->tableDef("F");  // holds the file while it lives
            auto index = table.createIndex("PrimaryKey");
            index.setPrimary(true);
            index.appendField("ID");
            table.appendIndex(index);
            table.deleteField("OLD");
            table.deleteField("GONE");
            database->tableDef("EMPTY_OF_FIELDS").deleteField("X");
            database->tableDef("CHECKED").deleteField("B");  // SQLite will not drop what a CHECK reads
        }
        database->close();
        EXPECT_FALSE(isFileOpenInProcess(source));
        dbEngine.compactDatabase(source, target);
    }

    EXPECT_EQ(queryText(target, "PRAGMA integrity_check"), "ok");
    EXPECT_EQ(queryText(target, "PRAGMA journal_mode"), "delete");
    EXPECT_LE(std::filesystem::file_size(target), std::filesystem::file_size(source));
    EXPECT_EQ(queryText(target, "SELECT group_concat(name, ',') FROM pragma_table_info('F')"), "ID,KEEP");
    EXPECT_EQ(queryText(target, "SELECT count(*) || KEEP FROM F WHERE ID = 2999"), "1k2999");
    EXPECT_EQ(queryText(target, "SELECT count(*) FROM F"), "3000");
    EXPECT_EQ(queryText(target, "SELECT IndexName FROM MSysIndexes"), "PrimaryKey");
    EXPECT_EQ(queryText(target, "SELECT name FROM sqlite_schema WHERE type = 'index'"), "F.PrimaryKey");
    EXPECT_EQ(queryText(target, "SELECT count(*) FROM EMPTY_OF_FIELDS"), "1");
    EXPECT_EQ(queryText(target, "SELECT group_concat(name, ',') FROM pragma_table_info('CHECKED')"), "A,MSysDeleted1");
    EXPECT_EQ(queryText(source, "SELECT count(*) FROM pragma_table_info('F')"), "4");  // the source is untouched
    EXPECT_FALSE(std::filesystem::exists(target + "-journal"));
}

TEST(Compaction, FailsWithoutLeavingOrHarmingATarget)
{
    engine_test::TempDir dir;
    const std::string source = dir.file("a.mdb");
    engine_test::makeSqliteFile(source, "CREATE TABLE A(X LONG)");
    std::ofstream(dir.file("existing.tmp")) << "keep me";
    std::ofstream(dir.file("garbage.mdb")) << "this is no database file, only some text in it";
    DbEngine dbEngine("3.6");

    EXPECT_THROW(dbEngine.compactDatabase(source, dir.file("existing.tmp")), EngineError);
    EXPECT_EQ(std::filesystem::file_size(dir.file("existing.tmp")), 7u);
    EXPECT_THROW(dbEngine.compactDatabase(dir.file("missing.mdb"), dir.file("t1.tmp")), EngineError);
    EXPECT_THROW(dbEngine.compactDatabase(dir.file("garbage.mdb"), dir.file("t2.tmp")), EngineError);
    EXPECT_THROW(dbEngine.compactDatabase(source, dir.file("no/such/folder/t3.tmp")), EngineError);
    EXPECT_FALSE(std::filesystem::exists(dir.file("t1.tmp")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("t2.tmp")));
}

TEST(DbEngine, VersionsComeFromTheCatalog)
{
    EXPECT_EQ(DbEngine("3.6").version(), "3.6");
    EXPECT_THROW(DbEngine("3.5"), EngineError);
    EngineCatalog both;
    both.installedVersions = {"3.5", "3.6"};
    EXPECT_EQ(DbEngine("3.5", both).version(), "3.5");
    EXPECT_TRUE(EngineCatalog::system().installableFormats.empty());
}

}  // namespace
