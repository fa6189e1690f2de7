// Opening files: what fails and leaves nothing behind, the one shared
// connection per file, and files locked by another process.

#include "db/engine/database_file.h"
#include "db/engine/engine_error.h"
#include "db/engine/recordset.h"
#include "db/engine/schema.h"
#include "engine_test_support.h"
#include "tests/support/holding_process.h"

#include <sqlite3.h>

#include <chrono>
#include <fstream>
#include <set>

using namespace engine;

namespace {

std::set<std::string> filesIn(const std::filesystem::path& dir)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) names.insert(entry.path().filename());
    return names;
}

std::unique_ptr<Database> openDatabase(const std::string& path)
{
    return Workspace("w").openDatabase(path, false, false, ";UID=Admin;PWD=;");
}

TEST(FileOpen, RefusesWhatIsNoWritableCatalogueAndLeavesNothingBehind)
{
    engine_test::TempDir dir;
    std::filesystem::create_directory(dir.file("folder.mdb"));
    std::ofstream(dir.file("garbage.mdb")) << "Standard Jet DB, but not really; this is plain text of some length.";
    std::ofstream(dir.file("empty.mdb")).close();
    std::ofstream(dir.file("short.mdb")) << "x";  // shorter than SQLite's header
    engine_test::makeSqliteFile(dir.file("readonly.mdb"), "CREATE TABLE A(X LONG)");
    std::filesystem::permissions(dir.file("readonly.mdb"), std::filesystem::perms::owner_read);
    const auto before = filesIn(dir.path());

    for (const char* name : {"missing.mdb", "folder.mdb", "garbage.mdb", "empty.mdb", "short.mdb", "readonly.mdb"}) {
        Connection connection;
        connection.setConnectionString("Provider=P;Data Source=" + dir.file(name));
        EXPECT_THROW(connection.open(), EngineError) << name;
        EXPECT_FALSE(connection.isOpen());
        EXPECT_THROW(openDatabase(dir.file(name)), EngineError) << name;
        EXPECT_FALSE(isFileOpenInProcess(dir.file(name)));
    }
    EXPECT_EQ(filesIn(dir.path()), before);
    EXPECT_EQ(std::filesystem::file_size(dir.file("empty.mdb")), 0u);
    EXPECT_EQ(std::filesystem::file_size(dir.file("short.mdb")), 1u);

    Connection noSource;
    noSource.setConnectionString("Provider=P;Mode=ReadWrite");
    EXPECT_THROW(noSource.open(), EngineError);
}

TEST(FileOpen, CatalogueFromElsewhereIsOpenedDefensively)
{
    engine_test::TempDir dir;
    const std::string path = dir.file("obcy.mdb");
    engine_test::makeSqliteFile(path, "CREATE TABLE FILMY(ID_CD LONG)");
    auto connection = engine_test::openConnection(path);
    sqlite3* db = connection->file()->handle();
    const auto option = [&](int which) {
        int value = -1;
        sqlite3_db_config(db, which, -1, &value);
        return value;
    };
    EXPECT_EQ(option(SQLITE_DBCONFIG_DEFENSIVE), 1);
    EXPECT_EQ(option(SQLITE_DBCONFIG_TRUSTED_SCHEMA), 0);
    EXPECT_EQ(option(SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION), 0);
    // Not even a command run through the engine may write the schema by hand.
    EXPECT_THROW(connection->execute("PRAGMA writable_schema=ON; UPDATE sqlite_schema SET sql = 'x'"), EngineError);
    connection->close();
    EXPECT_EQ(engine_test::queryText(path, "SELECT sql FROM sqlite_schema"), "CREATE TABLE FILMY(ID_CD LONG)");
}

TEST(FileOpen, OneSharedConnectionPerFile)
{
    engine_test::TempDir dir;
    const std::string path = dir.file("shared.mdb");
    engine_test::makeSqliteFile(path, "CREATE TABLE A(X LONG); INSERT INTO A VALUES(1)");

    auto rowFace = engine_test::openConnection(path);
    auto schemaFace = openDatabase(dir.path().string() + "/./shared.mdb");
    auto again = openDatabase(path);  // as the index maintenance does, while the first is open
    EXPECT_EQ(rowFace->file().get(), DatabaseFile::open(path).get());
    EXPECT_EQ(schemaFace->path(), rowFace->file()->path());

    // One transaction covers both faces, and a second open sees it at once.
    rowFace->beginTransaction();
    schemaFace->tableDef("a").appendField(Field("Y", FieldKind::Long, 0));
    EXPECT_EQ(again->tableDef("A").fieldCount(), 2);
    StaticRecordset rs;
    rs.open(*rowFace, "A");
    rs.append({std::int32_t{2}, std::int32_t{3}});
    rowFace->rollbackTransaction();
    EXPECT_EQ(again->tableDef("A").fieldCount(), 1);
    rs.open(*rowFace, "A");
    EXPECT_EQ(rs.recordCount(), 1);

    // Every holder keeps the file open, a clone too, which reads its rows from it; a closed recordset does not.
    StaticRecordset clone;
    clone.cloneFrom(rs);
    rowFace->close();
    schemaFace->close();
    again.reset();
    rs.close();
    EXPECT_TRUE(isFileOpenInProcess(path));
    clone.first();
    EXPECT_EQ(clone.valueAsInteger(0), 1);
    clone.close();
    EXPECT_FALSE(isFileOpenInProcess(path));
}

template <typename F>
double secondsToFail(F action)
{
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(action(), EngineError);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(FileOpen, FileLockedByAnotherProcessFailsWithinTwoSeconds)
{
    engine_test::TempDir dir;
    const std::string path = dir.file("locked.mdb");
    engine_test::makeSqliteFile(path, "CREATE TABLE A(X LONG)");
    {
        test_support::LockingProcess child(path, "BEGIN EXCLUSIVE; INSERT INTO A VALUES(1);");
        ASSERT_TRUE(child.locked());
        EXPECT_LT(secondsToFail([&] { engine_test::openConnection(path); }), 2.0);
        EXPECT_FALSE(isFileOpenInProcess(path));
    }
    {
        test_support::LockingProcess child(path, "BEGIN IMMEDIATE; INSERT INTO A VALUES(1);");
        ASSERT_TRUE(child.locked());
        auto connection = engine_test::openConnection(path);  // reading is still allowed
        EXPECT_LT(secondsToFail([&] { connection->beginTransaction(); }), 2.0);
        EXPECT_LT(secondsToFail([&] { openDatabase(path)->tableDef("A").appendField(Field("Y", FieldKind::Long, 0)); }),
                  2.0);
    }
    auto connection = engine_test::openConnection(path);
    EXPECT_EQ(connection->tableNames(), std::vector<std::string>{"A"});
    EXPECT_EQ(engine_test::queryText(path, "SELECT count(*) FROM A"), "0");  // the child's insert never committed
}

}  // namespace
