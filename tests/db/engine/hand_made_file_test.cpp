// A catalogue made by hand with the statements of docs/file-format.md opens
// through the engine as the document says.

#include "db/engine/recordset.h"
#include "db/engine/schema.h"
#include "engine_test_support.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace engine;

namespace {

std::string handMadeStatements()
{
    const char* data = std::getenv("VK_TEST_DATA");
    std::ifstream file(std::string(data ? data : "tests/data") + "/engine/hand_made_catalogue.sql");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(HandMadeFile, OpensWithItsTablesKindsSizesAndIndexes)
{
    const std::string sql = handMadeStatements();
    ASSERT_FALSE(sql.empty()) << "VK_TEST_DATA not set or file missing";
    engine_test::TempDir dir;
    const std::string path = dir.file("demo.mdb");
    engine_test::makeSqliteFile(path, sql);

    auto connection = engine_test::openConnection(path);
    EXPECT_EQ(connection->tableNames(), (std::vector<std::string>{"FILMY", "wypozycz"}));

    auto database = Workspace("w").openDatabase(path, false, false, "");
    struct Expected {
        const char* name;
        FieldKind kind;
        int size;
    };
    const auto check = [&](const char* table, std::vector<Expected> expected) {
        const auto fields = database->tableDef(table).fields();
        ASSERT_EQ(fields.size(), expected.size()) << table;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            EXPECT_EQ(fields[i].name(), expected[i].name);
            EXPECT_EQ(fields[i].kind(), expected[i].kind) << expected[i].name;
            EXPECT_EQ(fields[i].size(), expected[i].size) << expected[i].name;
        }
    };
    check("FILMY", {{"FILM_ID", FieldKind::Long, 0},
                    {"TYTUL", FieldKind::Text, 150},
                    {"OPIS", FieldKind::Memo, 0},
                    {"JEST", FieldKind::YesNo, 0},
                    {"DATA_W", FieldKind::DateTime, 0}});
    check("WYPOZYCZ", {{"ID_OSOBY", FieldKind::Long, 0},
                       {"DATA_Z", FieldKind::DateTime, 0},
                       {"UWAGI", FieldKind::Text, 40},
                       {"KWOTA", FieldKind::Double, 0},
                       {"NOTATKA", FieldKind::Memo, 0},
                       {"ZDJECIE", FieldKind::LongBinary, 0}});

    const auto films = database->tableDef("filmy");
    EXPECT_TRUE(films.field("TYTUL").required());
    EXPECT_FALSE(films.field("TYTUL").allowZeroLength());
    EXPECT_FALSE(films.field("OPIS").required());
    EXPECT_TRUE(films.field("OPIS").allowZeroLength());
    const auto indexes = films.indexes();
    ASSERT_EQ(indexes.size(), 2u);
    EXPECT_EQ(indexes[0].name(), "PrimaryKey");
    EXPECT_TRUE(indexes[0].primary());
    EXPECT_EQ(indexes[1].name(), "TYTUL");
    EXPECT_FALSE(indexes[1].primary());

    StaticRecordset rs;
    rs.open(*connection, "FILMY");
    ASSERT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(rs.value(3), Variant(true));
    rs.next();
    EXPECT_EQ(rs.value(1), Variant("Miś"));
    EXPECT_TRUE(rs.value(2).isNull());
    EXPECT_EQ(rs.value(4), Variant(DateTime{1981, 5, 4, 20, 15, 0, 500}));
}

}  // namespace
