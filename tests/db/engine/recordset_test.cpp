// Static recordsets: rows read from the file, clones that outlive their
// table's contents, appends that post at once, positions and the cursor.

#include "db/engine/recordset.h"
#include "db/engine/engine_error.h"
#include "db/engine/schema.h"
#include "engine_test_support.h"

#include <algorithm>

using namespace engine;
using engine_test::queryText;

namespace {

class Recordset : public testing::Test {
protected:
    void SetUp() override
    {
        path = dir.file("rows.mdb");
        engine_test::makeSqliteFile(path,
                                    "CREATE TABLE T(ID LONG, NAME TEXT(20), D DATETIME);"
                                    "CREATE INDEX \"T.ID\" ON T(ID);"
                                    "INSERT INTO T VALUES(3, 'c', '2000-01-01 10:00:00'), (1, 'a', NULL),"
                                    " (2, NULL, '1999-05-06 00:00:00.250');");
        connection = engine_test::openConnection(path);
    }

    engine_test::TempDir dir;
    std::string path;
    std::unique_ptr<Connection> connection;
};

TEST_F(Recordset, ReadsRowsInStoredOrderWithTheirKinds)
{
    StaticRecordset rs;
    rs.open(*connection, "t");
    ASSERT_EQ(rs.recordCount(), 3);
    ASSERT_EQ(rs.fields().size(), 3u);
    EXPECT_EQ(rs.fields()[1].kind, FieldKind::Text);
    EXPECT_EQ(rs.fields()[1].size, 20);
    std::vector<std::int32_t> ids;
    for (rs.first(); !rs.eof(); rs.next()) ids.push_back(rs.valueAsInteger(0));
    EXPECT_EQ(ids, (std::vector<std::int32_t>{3, 1, 2}));  // not the index's order
    rs.first();
    EXPECT_EQ(rs.value(2), Variant(DateTime{2000, 1, 1, 10, 0, 0, 0}));
    EXPECT_THROW(rs.value(3), EngineError);
    EXPECT_THROW(rs.value(-1), EngineError);
    rs.next();
    EXPECT_TRUE(rs.value(2).isNull());
    EXPECT_THROW(rs.value(2).toInteger(), VariantError);
    EXPECT_EQ(rs.valueAsInteger(2), 0);
    EXPECT_THROW(rs.valueAsInteger(1), VariantError);  // "a" is no integer
}

TEST_F(Recordset, AppendPostsAtOnceAndJoinsTheRecordset)
{
    StaticRecordset rs;
    rs.open(*connection, "T");
    rs.append({std::int32_t{4}, "d"});
    EXPECT_EQ(rs.recordCount(), 4);
    EXPECT_FALSE(rs.eof());
    EXPECT_EQ(rs.value(1), Variant("d"));
    EXPECT_EQ(queryText(path, "SELECT NAME FROM T WHERE ID = 4"), "d");
    EXPECT_THROW(rs.append({std::int32_t{5}, "e", Variant(), Variant()}), EngineError);
    EXPECT_EQ(rs.recordCount(), 4);

    rs.close();
    EXPECT_FALSE(rs.isOpen());
    EXPECT_EQ(rs.recordCount(), 0);
    EXPECT_TRUE(rs.eof());
    EXPECT_THROW(rs.append({}), EngineError);
    EXPECT_THROW(rs.first(), EngineError);
    StaticRecordset clone;
    EXPECT_THROW(clone.cloneFrom(rs), EngineError);
}

TEST_F(Recordset, CloneOutlivesSourceFieldsAndRows)
{
    StaticRecordset source;
    source.open(*connection, "T");
    StaticRecordset snapshot;
    snapshot.cloneFrom(source);
    source.close();

    auto database = Workspace("w").openDatabase(path, false, false, "");
    {
        auto table = database->tableDef("T");
        table.deleteIndex("ID");
        for (const char* name : {"ID", "NAME", "D"}) table.deleteField(name);
        table.appendField(Field("NEW", FieldKind::Long, 0));
    }
    connection->execute("DELETE FROM T");
    EXPECT_EQ(queryText(path, "SELECT count(*) FROM T"), "0");

    ASSERT_EQ(snapshot.recordCount(), 3);
    ASSERT_EQ(snapshot.fields().size(), 3u);
    std::vector<std::string> names;
    for (snapshot.first(); !snapshot.eof(); snapshot.next())
        names.push_back(snapshot.value(1).isNull() ? "-" : snapshot.value(1).text());
    EXPECT_EQ(names, (std::vector<std::string>{"c", "a", "-"}));

    // The rebuilt table takes the snapshot's rows again.
    StaticRecordset target;
    target.open(*connection, "T");
    for (snapshot.first(); !snapshot.eof(); snapshot.next()) target.append({snapshot.valueAsInteger(0)});
    EXPECT_EQ(queryText(path, "SELECT group_concat(NEW, ',') FROM T"), "3,1,2");

    target.close();
    connection->close();
    database->close();
    EXPECT_FALSE(isFileOpenInProcess(path));  // the snapshot holds no file
    EXPECT_EQ(snapshot.recordCount(), 3);
}

}  // namespace

namespace {

// Inside the transaction an emptied table's rows stay in the file for the clone
// that reads them, found again after its fields were renamed, over several
// batches and a text larger than one; the commit takes them out of the file.
TEST_F(Recordset, CloneReadsItsRowsFromTheFileAfterTheTableIsEmptied)
{
    connection->execute(
        "WITH RECURSIVE n(i) AS (SELECT 4 UNION ALL SELECT i + 1 FROM n WHERE i < 700) "
        "INSERT INTO T SELECT i, 'n' || i, NULL FROM n; UPDATE T SET NAME = printf('%.3000000c', 'x') WHERE ID = 500");
    connection->beginTransaction();
    StaticRecordset snapshot;
    {
        StaticRecordset source;
        source.open(*connection, "T");
        snapshot.cloneFrom(source);
    }
    auto database = Workspace("w").openDatabase(path, false, false, "");
    database->tableDef("T").deleteField("NAME");
    database->tableDef("T").appendField(Field("NEW", FieldKind::Long, 0));
    connection->emptyTable("t");

    StaticRecordset emptied;
    emptied.open(*connection, "T");
    EXPECT_EQ(emptied.recordCount(), 0);
    EXPECT_EQ(emptied.fields().size(), 3u);
    emptied.close();
    ASSERT_EQ(database->tableDef("T").indexCount(), 1);
    EXPECT_EQ(database->tableDef("T").index(0).fields(), std::vector<std::string>{"ID"});

    ASSERT_EQ(snapshot.recordCount(), 700);
    std::vector<std::int32_t> ids;
    std::size_t longest = 0;
    snapshot.first();
    for (int i = 0; i < 400; ++i, snapshot.next()) ids.push_back(snapshot.valueAsInteger(0));
    EXPECT_EQ(snapshot.value(1), Variant("n401"));
    // Committing with the clone still open keeps its rows in memory.
    connection->commitTransaction();
    EXPECT_EQ(queryText(path, "SELECT count(*) FROM sqlite_schema WHERE name LIKE 'MSysAside%'"), "0");
    for (; !snapshot.eof(); snapshot.next()) {
        ids.push_back(snapshot.valueAsInteger(0));
        if (!snapshot.value(1).isNull()) longest = std::max(longest, snapshot.value(1).text().size());
    }
    ASSERT_EQ(ids.size(), 700u);
    EXPECT_EQ((std::vector<std::int32_t>(ids.begin(), ids.begin() + 4)), (std::vector<std::int32_t>{3, 1, 2, 4}));
    EXPECT_EQ(ids.back(), 700);
    EXPECT_EQ(longest, 3000000u);
    EXPECT_EQ(queryText(path, "PRAGMA integrity_check"), "ok");
}

TEST_F(Recordset, RowsSetAsideGoWithARollbackAndTheCloneSaysSo)
{
    connection->beginTransaction();
    StaticRecordset snapshot;
    {
        StaticRecordset source;
        source.open(*connection, "T");
        snapshot.cloneFrom(source);
    }
    connection->emptyTable("T");
    connection->rollbackTransaction();
    snapshot.first();
    std::string error;
    try {
        snapshot.value(0);
    } catch (const EngineError& e) {
        error = e.what();
    }
    EXPECT_EQ(error, "The rows of the table 'T' went with the transaction rolled back.");
    // The connection goes on working while the clone is open: no rows are
    // looked for where the rollback took them from.
    EXPECT_NO_THROW(connection->execute("UPDATE T SET NAME = 'b' WHERE ID = 2"));
    EXPECT_EQ(queryText(path, "SELECT group_concat(ID || NAME) FROM (SELECT ID, NAME FROM T ORDER BY rowid)"),
              "3c,1a,2b");
    EXPECT_EQ(queryText(path, "SELECT count(*) FROM sqlite_schema"), "2");
}

// A plain index made on the emptied table waits for the rows; what a caller
// sees of the indexes, and their content, is as if it had not.
TEST_F(Recordset, IndexesMadeOnAnEmptyTableAreThereWhenAskedForAndWhole)
{
    connection->beginTransaction();
    connection->emptyTable("T");
    auto database = Workspace("w").openDatabase(path, false, false, "");
    for (const char* name : {"NAME", "D"}) {
        auto table = database->tableDef("T");
        Index index = table.createIndex(name);
        index.setUnique(name == std::string("NAME"));
        index.appendField(name);
        table.appendIndex(index);
    }
    StaticRecordset rs;
    rs.open(*connection, "T");
    for (std::int32_t i = 0; i < 300; ++i)
        rs.append({i, "n" + std::to_string(i), DateTime{2000 + i % 7, 1, 1 + i % 28}});
    EXPECT_THROW(rs.append({std::int32_t{1}, "n1"}), EngineError);  // the unique index is kept up to date

    std::vector<std::string> names;
    for (const auto& index : database->tableDef("T").indexes()) names.push_back(index.name());
    EXPECT_EQ(names, (std::vector<std::string>{"ID", "NAME", "D"}));
    rs.append({std::int32_t{300}, "n300", DateTime{1999, 1, 1}});
    connection->commitTransaction();
    EXPECT_EQ(queryText(path, "PRAGMA integrity_check"), "ok");
    EXPECT_EQ(queryText(path, "SELECT group_concat(name) FROM sqlite_schema WHERE type = 'index'"), "T.ID,T.NAME,T.D");
    EXPECT_EQ(queryText(path, "SELECT ID FROM T INDEXED BY \"T.D\" ORDER BY D LIMIT 1"), "300");
}

TEST_F(Recordset, AppendedRowsReadBackAfterTheRowsReadAtOpen)
{
    StaticRecordset rs;
    rs.open(*connection, "T");
    rs.append({std::int32_t{4}, "d", DateTime{2004, 3, 1}});
    rs.append({std::int32_t{5}, Variant(), Variant()});
    ASSERT_EQ(rs.recordCount(), 5);
    std::vector<Variant> names;
    for (rs.first(); !rs.eof(); rs.next()) names.push_back(rs.value(1));
    EXPECT_EQ(names, (std::vector<Variant>{"c", "a", Variant(), "d", Variant()}));
    rs.first();
    for (int i = 0; i < 3; ++i) rs.next();
    EXPECT_EQ(rs.value(2), Variant(DateTime{2004, 3, 1}));
    EXPECT_EQ(rs.valueAsInteger(0), 4);
}

}  // namespace

// Two recordsets appending to one table in turn: each reads back the rows it
// had and exactly those it appended, not the other's rows in between.
TEST_F(Recordset, RowsAnotherRecordsetAppendedAreNotAmongItsOwn)
{
    StaticRecordset mine;
    StaticRecordset other;
    mine.open(*connection, "T");
    other.open(*connection, "T");
    mine.append({std::int32_t{10}, "m1"});
    other.append({std::int32_t{20}, "o1"});
    mine.append({std::int32_t{11}, "m2"});
    other.append({std::int32_t{21}, "o2"});
    const auto ids = [](StaticRecordset& rs) {
        std::vector<std::int32_t> read;
        for (rs.first(); !rs.eof(); rs.next()) read.push_back(rs.valueAsInteger(0));
        return read;
    };
    EXPECT_EQ(ids(mine), (std::vector<std::int32_t>{3, 1, 2, 10, 11}));
    EXPECT_EQ(ids(other), (std::vector<std::int32_t>{3, 1, 2, 20, 21}));
    StaticRecordset clone;
    clone.cloneFrom(mine);
    EXPECT_EQ(ids(clone), (std::vector<std::int32_t>{3, 1, 2, 10, 11}));
}
