// The one writer of a new catalogue file: what it writes opens through the
// components as the documented format says, it never writes over a file, and
// a writer that does not finish leaves nothing behind.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "db/TovaskADODB/tovask_ado_base.h"
#include "db/TovaskADODB/tovask_ado_table.h"
#include "db/engine/catalogue_writer.h"
#include "db/engine/connection_string.h"
#include "db/engine/engine_error.h"
#include "engine_test_support.h"

using namespace engine;

namespace {

NewTable everyKind()
{
    NewTable table;
    table.name = "Wszystko Łódź";
    table.fields = {
        {"Nr", FieldKind::Long, 0, true, false, std::int64_t{42}},
        {"Tytuł", FieldKind::Text, 20, true, false, {}},
        {"Opis", FieldKind::Memo, 0, false, true, {}},
        {"Jest", FieldKind::YesNo, 0, false, false, {}},
        {"Bajt", FieldKind::Byte, 0, false, false, {}},
        {"Krótka", FieldKind::Integer, 0, false, false, {}},
        {"Kwota", FieldKind::Currency, 0, false, false, {}},
        {"Pojedyncza", FieldKind::Single, 0, false, false, {}},
        {"Podwójna", FieldKind::Double, 0, false, false, {}},
        {"Data", FieldKind::DateTime, 0, false, false, {}},
        {"Bajty", FieldKind::Binary, 16, false, false, {}},
        {"Obraz", FieldKind::LongBinary, 0, false, false, {}},
        {"Id", FieldKind::Guid, 0, false, false, {}},
    };
    table.indexes = {{"PrimaryKey", {{"Nr", false}}, true, false},
                     {"Tytuł", {{"Tytuł", true}, {"Data", false}}, false, false}};
    return table;
}

std::vector<StoredValue> rowOf(std::int64_t number, std::string_view memo)
{
    return {StoredValue::Of(number),
            StoredValue::Text("Żółć"),
            StoredValue::Text(memo),
            StoredValue::Of(std::int64_t{1}),
            StoredValue::Of(std::int64_t{255}),
            StoredValue::Of(std::int64_t{-32768}),
            StoredValue::Of(std::int64_t{922337203685477580}),
            StoredValue::Of(0.5),
            StoredValue::Of(2.0),
            StoredValue::Text("1999-12-31 23:59:59"),
            StoredValue::Bytes(std::string_view("\0\1\2", 3)),
            StoredValue::Null(),
            StoredValue::Text("{01234567-89AB-CDEF-0123-456789ABCDEF}")};
}

TEST(CatalogueWriter, WritesAFileTheComponentsReadWithEveryKindPropertyAndIndex)
{
    engine_test::TempDir dir;
    const std::string path = dir.file("nowy.mdb");
    {
        CatalogueWriter writer(path);
        writer.beginTable(everyKind());
        writer.appendRow(rowOf(1, "007"));
        writer.appendRow(rowOf(2, std::string(100000, 'x')));
        writer.endTable();
        writer.finish();
    }

    TovaskADODB::TTovaskADOBase base("dbFilm");
    base.SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Mode=ReadWrite;Data Source=" + quoteDataSource(path));
    base.OpenBase();
    std::vector<std::string> names;
    base.GetTableNames(names);
    EXPECT_EQ(names, std::vector<std::string>{"Wszystko Łódź"});

    TovaskADODB::TTovaskADOTable table("mdbFilmy");
    table.SetConnection(&base);
    table.SetTableName("Wszystko Łódź");
    table.Open();
    const auto expected = everyKind();
    ASSERT_EQ(table.FieldCount(), static_cast<int>(expected.fields.size()));
    for (int i = 0; i < table.FieldCount(); ++i) {
        const auto& field = expected.fields[static_cast<std::size_t>(i)];
        EXPECT_EQ(table.FieldDefs()[i].Name, field.name);
        EXPECT_EQ(table.FieldDefs()[i].DataType, field.kind) << field.name;
        EXPECT_EQ(table.FieldDefs()[i].Size,
                  field.kind == FieldKind::Text || field.kind == FieldKind::Binary ? field.size : 0)
            << field.name;
    }
    ASSERT_EQ(table.RecordCount(), 2);
    table.First();
    EXPECT_EQ(table.FieldValue(0), Variant(1));
    EXPECT_EQ(table.FieldValue(1), Variant("Żółć"));
    EXPECT_EQ(table.FieldValue(2), Variant("007"));  // not the number 7
    EXPECT_EQ(table.FieldValue(3), Variant(true));
    EXPECT_EQ(table.FieldValue(4), Variant(255));
    EXPECT_EQ(table.FieldValue(5), Variant(-32768));
    EXPECT_EQ(table.FieldValue(8), Variant(2.0));
    EXPECT_EQ(table.FieldValue(12), Variant("{01234567-89AB-CDEF-0123-456789ABCDEF}"));
    table.Next();
    EXPECT_EQ(table.FieldValue(2).text().size(), 100000u);

    // The stored forms themselves, read without the engine.
    EXPECT_EQ(engine_test::queryText(path, "SELECT typeof(Kwota) || ':' || Kwota FROM \"Wszystko Łódź\" LIMIT 1"),
              "integer:922337203685477580");
    EXPECT_EQ(engine_test::queryText(path, "SELECT typeof(Opis) FROM \"Wszystko Łódź\" LIMIT 1"), "blob");
    EXPECT_EQ(engine_test::queryText(path,
                                     "SELECT group_concat(FieldName || Required || AllowZeroLength, ',') "
                                     "FROM MSysFields WHERE FieldName IN ('Nr', 'Tytuł', 'Opis')"),
              "Nr10,Tytuł10,Opis01");
    EXPECT_EQ(engine_test::queryText(path, "SELECT IndexName FROM MSysIndexes"), "PrimaryKey");
    EXPECT_EQ(engine_test::queryText(path, "SELECT FieldName || '=' || NextValue FROM MSysCounters"), "Nr=42");
    EXPECT_EQ(engine_test::queryText(path, "SELECT type FROM pragma_table_info('Wszystko Łódź') WHERE name = 'Nr'"),
              "COUNTER");
    EXPECT_EQ(engine_test::queryText(path,
                                     "SELECT \"unique\" || '/' || (SELECT group_concat(name || desc, ',') FROM "
                                     "pragma_index_xinfo('Wszystko Łódź.Tytuł') WHERE key) FROM "
                                     "pragma_index_list('Wszystko Łódź') WHERE name = 'Wszystko Łódź.Tytuł'"),
              "0/Tytuł1,Data0");

    const auto indexes = base.DaoDatabase()->tableDef("Wszystko Łódź").indexes();
    ASSERT_EQ(indexes.size(), 2u);
    EXPECT_EQ(indexes[0].name(), "PrimaryKey");
    EXPECT_TRUE(indexes[0].primary());
    EXPECT_EQ(indexes[1].fields(), (std::vector<std::string>{"Tytuł", "Data"}));
}

TEST(CatalogueWriter, TheEngineWritesTheNewKindsWithinTheirLimits)
{
    engine_test::TempDir dir;
    const std::string path = dir.file("nowy.mdb");
    {
        CatalogueWriter writer(path);
        NewTable table;
        table.name = "T";
        for (const auto& [name, kind] : std::vector<std::pair<const char*, FieldKind>>{{"B", FieldKind::Byte},
                                                                                       {"I", FieldKind::Integer},
                                                                                       {"K", FieldKind::Currency},
                                                                                       {"S", FieldKind::Single},
                                                                                       {"G", FieldKind::Guid}})
            table.fields.push_back({name, kind, 0, false, true, {}});
        writer.beginTable(table);
        writer.endTable();
        writer.finish();
    }
    TovaskADODB::TTovaskADOBase base("dbFilm");
    base.SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Mode=ReadWrite;Data Source=" + quoteDataSource(path));
    base.OpenBase();
    TovaskADODB::TTovaskADOTable table("mdbFilmy");
    table.SetConnection(&base);
    table.SetTableName("T");
    table.Open();
    table.AppendRecord({Variant(255), Variant(-32768), Variant(1.23456), Variant(0.1), Variant("{X}")});
    EXPECT_THROW(table.AppendRecord({Variant(256), Variant(), Variant(), Variant(), Variant()}), std::exception);
    EXPECT_THROW(table.AppendRecord({Variant(), Variant(32768), Variant(), Variant(), Variant()}), std::exception);
    EXPECT_EQ(engine_test::queryText(path, "SELECT K FROM T"), "12346");                  // ten-thousandths
    EXPECT_EQ(engine_test::queryText(path, "SELECT S = CAST(0.1 AS REAL) FROM T"), "0");  // a float's 0.1
    table.Close();
    table.Open();
    table.First();
    EXPECT_EQ(table.FieldValue(2), Variant(1.2346));
    EXPECT_EQ(table.FieldValue(3), Variant(static_cast<double>(0.1f)));
}

TEST(CatalogueWriter, NeverWritesOverAFileAndLeavesNothingWhenNotFinished)
{
    engine_test::TempDir dir;
    const std::string taken = dir.file("zajety.mdb");
    std::ofstream(taken) << "moje dane";
    try {
        CatalogueWriter writer(taken);
        FAIL() << "a taken name was written over";
    } catch (const EngineError& error) {
        EXPECT_EQ(error.systemErrno(), EEXIST);
    }
    std::ifstream kept(taken);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "moje dane");

    // A link to another file is a taken name too, even when it leads nowhere.
    std::filesystem::create_symlink(dir.file("nigdzie.mdb"), dir.file("link.mdb"));
    EXPECT_THROW(CatalogueWriter(dir.file("link.mdb")), EngineError);
    EXPECT_FALSE(std::filesystem::exists(dir.file("nigdzie.mdb")));

    {
        CatalogueWriter writer(dir.file("porzucony.mdb"));
        writer.beginTable(everyKind());
        writer.appendRow(rowOf(1, "x"));
        EXPECT_THROW(writer.appendRow({StoredValue::Null()}), EngineError);  // one value for each field
    }
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"link.mdb", "zajety.mdb"}));
}

}  // namespace
