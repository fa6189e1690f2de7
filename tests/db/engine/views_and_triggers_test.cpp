// Views and triggers that other tools made keep naming fields by name across
// the engine's structure changes; one that stops working fails the change.

#include "db/engine/engine_error.h"
#include "db/engine/recordset.h"
#include "db/engine/schema.h"
#include "engine_test_support.h"

#include <gmock/gmock.h>

using namespace engine;
using engine_test::queryText;
using testing::HasSubstr;

namespace {

class ViewsAndTriggers : public testing::Test {
protected:
    void SetUp() override
    {
        path = dir.file("views.mdb");
        engine_test::makeSqliteFile(
            path,
            "CREATE TABLE FILMY(ID_CD LONG, T_ORG TEXT(100), OPIS MEMO);"
            "INSERT INTO FILMY VALUES(1, 'Rejs', 'a'), (2, 'Miś', 'b');"
            "CREATE TABLE LOG(T);"
            "CREATE VIEW V_FILMY AS SELECT ID_CD, T_ORG FROM FILMY;"
            "CREATE TRIGGER T_LOG AFTER INSERT ON FILMY BEGIN INSERT INTO LOG VALUES(new.T_ORG); END;"
            "CREATE TRIGGER V_INSERT INSTEAD OF INSERT ON V_FILMY BEGIN "
            "INSERT INTO FILMY(ID_CD, T_ORG) VALUES(new.ID_CD, new.T_ORG); END;");
        schemaBefore = schema();
        connection = engine_test::openConnection(path);
        database = Workspace("w").openDatabase(path, false, false, "");
    }

    std::string schema() const
    {
        return queryText(path,
                         "SELECT group_concat(type || ' ' || name || ': ' || sql, char(10)) FROM "
                         "(SELECT * FROM sqlite_schema ORDER BY name)");
    }
    std::string columns(const std::string& table) const
    {
        return queryText(path, "SELECT group_concat(name, ',') FROM pragma_table_info('" + table + "')");
    }
    std::string sqlOf(const std::string& name) const
    {
        return queryText(path, "SELECT sql FROM sqlite_schema WHERE name = '" + name + "'");
    }

    engine_test::TempDir dir;
    std::string path;
    std::string schemaBefore;
    std::unique_ptr<Connection> connection;
    std::unique_ptr<Database> database;
};

TEST_F(ViewsAndTriggers, FieldsDeletedAndAddedAgainAreFoundByNameAndMovedRowsFireNothing)
{
    const std::string view = sqlOf("V_FILMY");
    const std::string trigger = sqlOf("T_LOG");
    connection->beginTransaction();
    auto films = database->tableDef("FILMY");
    films.deleteField("ID_CD");
    films.deleteField("T_ORG");
    films.appendField(Field("T_ORG", FieldKind::Text, 150));
    films.appendField(Field("ID_CD", FieldKind::Long, 0));
    connection->execute("DELETE FROM FILMY");
    StaticRecordset rs;
    rs.open(*connection, "FILMY");
    rs.append({"a", "Rejs", std::int32_t{10}});  // moved: the trigger is still set aside
    database->restoreViewsAndTriggers();
    rs.append({"c", "Nowy", std::int32_t{30}});  // entered: it fires
    rs.close();
    connection->commitTransaction();

    EXPECT_EQ(columns("FILMY"), "OPIS,T_ORG,ID_CD");  // no hidden column is kept for the view
    EXPECT_EQ(sqlOf("V_FILMY"), view);
    EXPECT_EQ(sqlOf("T_LOG"), trigger);
    EXPECT_EQ(queryText(path, "SELECT group_concat(ID_CD || ' ' || T_ORG, ';') FROM V_FILMY"), "10 Rejs;30 Nowy");
    EXPECT_EQ(queryText(path, "SELECT group_concat(T, ';') FROM LOG"), "Nowy");

    // The trigger on the view came back too, and reads the new fields.
    engine_test::makeSqliteFile(path, "INSERT INTO V_FILMY VALUES(40, 'Miś')");
    EXPECT_EQ(queryText(path, "SELECT OPIS IS NULL AND T_ORG = 'Miś' FROM FILMY WHERE ID_CD = 40"), "1");
    EXPECT_EQ(queryText(path, "SELECT group_concat(T, ';') FROM LOG"), "Nowy;Miś");
}

TEST_F(ViewsAndTriggers, OneThatNoLongerWorksFailsTheChangeAndTheFileStaysAsItWas)
{
    // Outside a transaction the field's deletion itself fails.
    auto films = database->tableDef("FILMY");
    try {
        films.deleteField("T_ORG");
        ADD_FAILURE() << "deleted a field that a view names";
    } catch (const EngineError& e) {
        EXPECT_THAT(e.what(), HasSubstr("The view 'V_FILMY' no longer works"));
        EXPECT_THAT(e.what(), HasSubstr("T_ORG"));
    }
    EXPECT_EQ(schema(), schemaBefore);

    // Inside one, the commit fails and leaves the rollback to the caller.
    connection->beginTransaction();
    films.deleteField("T_ORG");
    EXPECT_THROW(connection->commitTransaction(), EngineError);
    EXPECT_TRUE(connection->inTransaction());
    connection->rollbackTransaction();
    EXPECT_EQ(schema(), schemaBefore);
    EXPECT_EQ(queryText(path, "SELECT group_concat(T_ORG, ';') FROM V_FILMY"), "Rejs;Miś");

    // A trigger is named by itself, when no view is in the way.
    connection->execute("DROP TRIGGER V_INSERT; DROP VIEW V_FILMY");
    connection->beginTransaction();
    films.deleteField("T_ORG");
    try {
        database->restoreViewsAndTriggers();
        ADD_FAILURE() << "a trigger reading a deleted field was made again";
    } catch (const EngineError& e) {
        EXPECT_THAT(e.what(), HasSubstr("The trigger 'T_LOG' no longer works"));
    }
    connection->rollbackTransaction();
    EXPECT_THAT(sqlOf("T_LOG"), HasSubstr("new.T_ORG"));
    EXPECT_EQ(columns("FILMY"), "ID_CD,T_ORG,OPIS");
}

TEST_F(ViewsAndTriggers, ViewsThatNeverWorkedNeitherBlockAChangeNorAreChecked)
{
    // SQLite itself refuses to rename any column while one view is broken.
    connection->execute(
        "CREATE VIEW BROKEN AS SELECT NOSUCH FROM FILMY;"
        "CREATE VIEW V_ON_VIEW AS SELECT T_ORG FROM V_FILMY");
    const std::string broken = sqlOf("BROKEN");
    database->tableDef("FILMY").deleteField("OPIS");
    EXPECT_EQ(sqlOf("BROKEN"), broken);
    EXPECT_EQ(queryText(path, "SELECT group_concat(T_ORG, ';') FROM V_ON_VIEW"), "Rejs;Miś");
    EXPECT_EQ(columns("FILMY"), "ID_CD,T_ORG,MSysDeleted1");
}

}  // namespace
