// Transactions on the connection cover rows, structure and the engine's own tables.

#include "db/engine/engine_error.h"
#include "db/engine/recordset.h"
#include "db/engine/schema.h"
#include "db/engine/sqlite_handle.h"
#include "engine_test_support.h"

using namespace engine;
using engine_test::queryText;

namespace {

class Transaction : public testing::Test {
protected:
    void SetUp() override
    {
        path = dir.file("tx.mdb");
        engine_test::makeSqliteFile(path, "CREATE TABLE T(A LONG, B TEXT(5)); INSERT INTO T VALUES(1, 'x');");
        connection = engine_test::openConnection(path);
        database = Workspace("w").openDatabase(path, false, false, "");
    }

    std::string schema() const { return queryText(path, "SELECT group_concat(sql, ';') FROM sqlite_schema"); }

    engine_test::TempDir dir;
    std::string path;
    std::unique_ptr<Connection> connection;
    std::unique_ptr<Database> database;
};

TEST_F(Transaction, RollbackUndoesStructureRowsAndProperties)
{
    const std::string before = schema();
    connection->beginTransaction();
    EXPECT_TRUE(connection->inTransaction());
    auto table = database->tableDef("T");
    table.deleteField("B");
    Field required("C", FieldKind::Long, 0);
    required.setRequired(true);
    table.appendField(required);
    auto index = table.createIndex("PK");
    index.setPrimary(true);
    index.appendField("A");
    table.appendIndex(index);
    connection->execute("DELETE FROM T");  // drops the hidden column too
    StaticRecordset rs;
    rs.open(*connection, "T");
    rs.append({std::int32_t{7}, std::int32_t{8}});
    rs.close();
    connection->rollbackTransaction();

    EXPECT_FALSE(connection->inTransaction());
    EXPECT_EQ(schema(), before);
    EXPECT_EQ(queryText(path, "SELECT A || B FROM T"), "1x");
    EXPECT_EQ(table.fieldCount(), 2);
    EXPECT_EQ(table.indexCount(), 0);
}

TEST_F(Transaction, CommitKeepsAndMisuseFails)
{
    EXPECT_THROW(connection->commitTransaction(), EngineError);
    EXPECT_THROW(connection->rollbackTransaction(), EngineError);
    connection->beginTransaction();
    EXPECT_THROW(connection->beginTransaction(), EngineError);
    database->tableDef("T").appendField(Field("C", FieldKind::DateTime, 0));
    connection->commitTransaction();
    EXPECT_EQ(queryText(path, "SELECT type FROM pragma_table_info('T') WHERE name = 'C'"), "DATETIME");
}

TEST_F(Transaction, ClosingTheConnectionRollsBackWhatItBegan)
{
    connection->beginTransaction();
    connection->execute("INSERT INTO T VALUES(2, 'y')");
    connection->close();
    database->close();
    EXPECT_EQ(queryText(path, "SELECT count(*) FROM T"), "1");
    EXPECT_FALSE(isFileOpenInProcess(path));
}

}  // namespace

namespace {

// A second release would end an enclosing savepoint of the same name.
TEST(EngineSavepoint, RefusesASecondRelease)
{
    engine_test::TempDir dir;
    const std::string path = dir.file("sp.mdb");
    engine_test::makeSqliteFile(path, "CREATE TABLE T(A LONG);");
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open(path.c_str(), &raw);
    const std::unique_ptr<sqlite3, decltype(&sqlite3_close)> handle(raw, &sqlite3_close);
    ASSERT_EQ(opened, SQLITE_OK);
    sqlite3* db = handle.get();
    {
        detail::Savepoint outer(db);
        {
            detail::Savepoint inner(db);
            sqlite3_exec(db, "INSERT INTO T VALUES(1)", nullptr, nullptr, nullptr);
            inner.release();
            EXPECT_THROW(inner.release(), EngineError);
        }
        // The outer savepoint is still there to be released, with the row.
        EXPECT_NO_THROW(outer.release());
    }
    EXPECT_EQ(queryText(path, "SELECT count(*) FROM T"), "1");
}

}  // namespace
