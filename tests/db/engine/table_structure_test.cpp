// Structure changes through table definitions: positions, the table without
// fields, hidden deleted columns, indexes and the engine's own tables.

#include "db/engine/engine_error.h"
#include "db/engine/recordset.h"
#include "db/engine/schema.h"
#include "engine_test_support.h"

#include <gmock/gmock.h>

using namespace engine;
using engine_test::queryText;
using testing::ElementsAre;
using testing::HasSubstr;

namespace {

std::vector<std::string> fieldNames(const TableDef& table)
{
    std::vector<std::string> names;
    for (const auto& field : table.fields()) names.push_back(field.name());
    return names;
}

std::string columnsInFile(const std::string& path, const std::string& table)
{
    return queryText(path, "SELECT group_concat(name, ',') FROM pragma_table_info('" + table + "')");
}

class TableStructure : public testing::Test {
protected:
    void SetUp() override
    {
        path = dir.file("structure.mdb");
        engine_test::makeSqliteFile(path,
                                    "CREATE TABLE FILMY(A LONG, B TEXT(10), C MEMO, D BIT);"
                                    "INSERT INTO FILMY VALUES(1, 'b1', 'c1', 1), (2, 'b2', 'c2', 0);"
                                    "CREATE TABLE WYPOZYCZ(A LONG, E LONG);");
        database = Workspace("w").openDatabase(path, false, false, "");
        connection = engine_test::openConnection(path);
    }

    engine_test::TempDir dir;
    std::string path;
    std::unique_ptr<Database> database;
    std::unique_ptr<Connection> connection;
};

TEST_F(TableStructure, DeleteClosesTheGapAndAppendGoesToTheEnd)
{
    auto table = database->tableDef("filmy");
    table.deleteField("b");
    EXPECT_THAT(fieldNames(table), ElementsAre("A", "C", "D"));
    table.appendField(table.createField("NOWE", FieldKind::Text, 150));
    table.appendField(table.createField("OPIS", FieldKind::Memo, 1));
    EXPECT_THAT(fieldNames(table), ElementsAre("A", "C", "D", "NOWE", "OPIS"));
    EXPECT_EQ(table.field("nowe").size(), 150);
    EXPECT_EQ(table.field("OPIS").kind(), FieldKind::Memo);
    EXPECT_EQ(table.field("OPIS").size(), 0);

    StaticRecordset rs;
    rs.open(*connection, "FILMY");
    ASSERT_EQ(rs.fields().size(), 5u);
    EXPECT_EQ(rs.value(1), Variant("c1"));
    EXPECT_EQ(rs.value(2), Variant(true));
    EXPECT_TRUE(rs.value(3).isNull());
    rs.append({std::int32_t{3}, "c3", false, "n3", std::string(1000, 'o')});
    EXPECT_EQ(queryText(path, "SELECT length(OPIS) FROM FILMY WHERE A = 3"), "1000");

    EXPECT_THROW(table.appendField(Field("a", FieldKind::Long, 0)), EngineError);
    EXPECT_THROW(table.appendField(Field("MSysX", FieldKind::Long, 0)), EngineError);
    EXPECT_THROW(table.appendField(Field("T0", FieldKind::Text, 0)), EngineError);
    EXPECT_THROW(table.appendField(Field("T256", FieldKind::Text, 256)), EngineError);
    EXPECT_THROW(table.deleteField("B"), EngineError);
    EXPECT_THROW(table.field("B"), EngineError);
    EXPECT_EQ(table.fieldCount(), 5);
}

TEST_F(TableStructure, TableWithoutFieldsKeepsItsRows)
{
    auto table = database->tableDef("FILMY");
    for (const char* name : {"A", "B", "C", "D"}) table.deleteField(name);
    EXPECT_EQ(table.fieldCount(), 0);

    StaticRecordset rs;
    rs.open(*connection, "FILMY");
    EXPECT_EQ(rs.recordCount(), 2);
    EXPECT_TRUE(rs.fields().empty());
    EXPECT_THROW(rs.value(0), EngineError);
    rs.append({});
    EXPECT_EQ(rs.recordCount(), 3);

    table.appendField(Field("JEST", FieldKind::YesNo, 0));
    table.appendField(Field("ID", FieldKind::Long, 0));
    rs.open(*connection, "FILMY");
    EXPECT_EQ(rs.recordCount(), 3);
    EXPECT_EQ(rs.fields()[0].name, "JEST");
    for (rs.first(); !rs.eof(); rs.next()) {
        EXPECT_EQ(rs.value(0), Variant(false));
        EXPECT_TRUE(rs.value(1).isNull());
        EXPECT_EQ(rs.valueAsInteger(1), 0);
    }
    EXPECT_THROW(rs.next(), EngineError);
}

TEST_F(TableStructure, HiddenColumnsGoOnceTheTableIsEmptied)
{
    auto table = database->tableDef("FILMY");
    auto index = table.createIndex("A");
    index.appendField("A");
    table.appendIndex(index);
    table.deleteField("B");
    table.deleteField("C");
    EXPECT_EQ(columnsInFile(path, "FILMY"), "A,MSysDeleted1,MSysDeleted2,D");

    connection->execute("DELETE FROM FILMY");
    EXPECT_EQ(columnsInFile(path, "FILMY"), "A,D");
    EXPECT_EQ(table.indexCount(), 1);

    // With no field left one hidden column stays: SQLite keeps at least one.
    table.deleteIndex("a");
    table.deleteField("A");
    table.deleteField("D");
    connection->execute("DELETE FROM FILMY");
    EXPECT_EQ(columnsInFile(path, "FILMY"), "MSysDeleted1");
    table.appendField(Field("X", FieldKind::Long, 0));
    EXPECT_THAT(fieldNames(table), ElementsAre("X"));
}

TEST_F(TableStructure, IndexRules)
{
    auto films = database->tableDef("FILMY");
    auto loans = database->tableDef("WYPOZYCZ");
    auto byA = films.createIndex("FILM_ID");
    byA.appendField("a");
    films.appendIndex(byA);
    loans.appendIndex(byA);  // index names are per table
    EXPECT_EQ(queryText(path, "SELECT group_concat(name, ',') FROM sqlite_schema WHERE type = 'index'"),
              "FILMY.FILM_ID,WYPOZYCZ.FILM_ID");
    EXPECT_THROW(films.appendIndex(films.createIndex("film_id")), EngineError);

    auto primary = films.createIndex("PrimaryKey");
    primary.setPrimary(true);
    primary.appendField("B");
    primary.appendField("D");
    films.appendIndex(primary);
    auto second = films.createIndex("Other");
    second.setPrimary(true);
    second.appendField("C");
    EXPECT_THROW(films.appendIndex(second), EngineError);
    auto noSuchField = films.createIndex("Bad");
    noSuchField.appendField("Z");
    EXPECT_THROW(films.appendIndex(noSuchField), EngineError);

    ASSERT_EQ(films.indexCount(), 2);
    const Index first = films.index(0);
    EXPECT_EQ(first.name(), "FILM_ID");
    EXPECT_FALSE(first.primary());
    EXPECT_FALSE(first.unique());
    const Index pk = films.index(1);
    EXPECT_TRUE(pk.primary());
    EXPECT_TRUE(pk.unique());
    EXPECT_THAT(pk.fields(), ElementsAre("B", "D"));
    EXPECT_THROW(films.index(2), EngineError);

    // A field in any index, at any place in it, cannot be deleted.
    try {
        films.deleteField("d");
        ADD_FAILURE() << "deleted an indexed field";
    } catch (const EngineError& e) {
        EXPECT_THAT(e.what(), HasSubstr("Cannot delete a field that is part of an index or is needed by the system."));
    }
    films.deleteIndex("primarykey");
    EXPECT_EQ(queryText(path, "SELECT count(*) FROM MSysIndexes"), "0");
    films.deleteField("D");
    EXPECT_THROW(films.deleteIndex("PrimaryKey"), EngineError);

    // An index made by another tool keeps its own name and is never primary.
    connection->execute("CREATE UNIQUE INDEX foreign_idx ON FILMY(C)");
    EXPECT_EQ(films.index(1).name(), "foreign_idx");
    EXPECT_FALSE(films.index(1).primary());
    EXPECT_THROW(films.deleteField("C"), EngineError);
}

TEST_F(TableStructure, EngineTablesAppearOnlyWhenNeeded)
{
    const std::string countMSys = "SELECT count(*) FROM sqlite_schema WHERE name LIKE 'MSys%'";
    auto table = database->tableDef("FILMY");
    table.fields();
    table.indexes();
    StaticRecordset rs;
    rs.open(*connection, "FILMY");
    rs.append({std::int32_t{5}});
    EXPECT_EQ(queryText(path, countMSys), "0");

    Field field("E", FieldKind::Text, 20);
    field.setRequired(true);  // not attached yet: stored when appended
    table.appendField(field);
    EXPECT_EQ(queryText(path, "SELECT Required || AllowZeroLength FROM MSysFields WHERE FieldName = 'E'"), "11");
    table.field("e").setAllowZeroLength(false);
    EXPECT_EQ(queryText(path, "SELECT Required || AllowZeroLength FROM MSysFields WHERE FieldName = 'E'"), "10");
    EXPECT_THAT(connection->tableNames(), ElementsAre("FILMY", "WYPOZYCZ"));
    table.deleteField("E");
    EXPECT_EQ(queryText(path, "SELECT count(*) FROM MSysFields"), "0");
    EXPECT_THROW(database->tableDef("MSysFields"), EngineError);
}

TEST(TableStructureNames, EngineTablesFindPolishNamesWrittenInAnotherCase)
{
    engine_test::TempDir dir;
    const std::string path = dir.file("nazwy.mdb");
    // Another tool wrote the engine's tables with the names in capitals.
    engine_test::makeSqliteFile(path,
                                "CREATE TABLE \"Łódź\"(\"Źdźbło\" TEXT(10), KLUCZ LONG);"
                                "CREATE UNIQUE INDEX \"Łódź.Główny\" ON \"Łódź\"(KLUCZ);"
                                "CREATE TABLE MSysFields(TableName TEXT NOT NULL, FieldName TEXT NOT NULL, "
                                "Required INTEGER NOT NULL, AllowZeroLength INTEGER NOT NULL);"
                                "INSERT INTO MSysFields VALUES('ŁÓDŹ', 'ŹDŹBŁO', 1, 0);"
                                "CREATE TABLE MSysIndexes(TableName TEXT NOT NULL, IndexName TEXT NOT NULL);"
                                "INSERT INTO MSysIndexes VALUES('ŁÓDŹ', 'GŁÓWNY');");
    auto table = Workspace("w").openDatabase(path, false, false, "")->tableDef("łódź");
    auto field = table.field("źdźbło");
    EXPECT_TRUE(field.required());
    EXPECT_FALSE(field.allowZeroLength());
    EXPECT_TRUE(table.index(0).primary());

    field.setRequired(false);  // the row is found and changed, not doubled
    EXPECT_EQ(queryText(path, "SELECT count(*) || Required FROM MSysFields"), "10");
    table.deleteIndex("główny");
    EXPECT_EQ(queryText(path, "SELECT count(*) FROM MSysIndexes"), "0");
}

}  // namespace
