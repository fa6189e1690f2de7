// The converter on Access files made by the sample writer: every type, nulls,
// long memos, Polish text, properties and indexes, and the sample catalogues
// at every level, value by value against the same catalogues written
// directly in the documented format; the result opens through the components.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "access_test_support.h"
#include "db/TovaskADODB/tovask_ado_base.h"
#include "db/TovaskADODB/tovask_ado_table.h"
#include "db/access/access_converter.h"
#include "db/engine/connection_string.h"
#include "db/engine/schema.h"
#include "tools/sample/sample_catalogue.h"

namespace {

using namespace access_test;
using engine::FieldKind;

sa::TableDefinition EveryType()
{
    using T = sa::ColumnType;
    sa::TableDefinition table;
    table.name = "Wszystkie typy";
    table.columns = {
        {"Nr", T::Long, 0, true, true, true},
        {"Tak", T::YesNo},
        {"Bajt", T::Byte},
        {"Krótka", T::Integer},
        {"Długa", T::Long},
        {"Kwota", T::Currency},
        {"Pojedyncza", T::Single},
        {"Podwójna", T::Double},
        {"Kiedy", T::DateTime},
        {"Bajty", T::Binary, 8},
        {"Tytuł", T::Text, 40, true, false},
        {"Nieskompresowany", T::Text, 40, false, true, false, false},
        {"Opis", T::Memo},
        {"Obraz", T::Ole},
        {"Id", T::Guid},
    };
    table.indexes = {{"PrimaryKey", {"Nr"}, true, false},
                     {"Tytuł i data", {"Tytuł", "Kiedy"}, false, true},
                     {"Kwota", {"Kwota"}, false, false}};
    return table;
}

std::string LongPolishText(std::size_t characters)
{
    const std::string words = "Zażółć gęślą jaźń, ";
    std::string out;
    std::size_t count = 0;
    while (count < characters)
        for (std::size_t i = 0; i < words.size() && count < characters; ++count) {
            const auto lead = static_cast<unsigned char>(words[i]);
            const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : 3;
            out += words.substr(i, length);
            i += length;
        }
    return out;
}

class Converter : public ::testing::Test {
protected:
    std::string Convert(const std::vector<sa::TableContents>& tables)
    {
        sa::WriteAccessFile(access, tables);
        accessdb::ConvertAccessFile(access, converted);
        return converted;
    }

    TempFolder folder;
    std::string access = folder.file("stary.mdb");
    std::string converted = folder.file("nowy.mdb");
};

TEST_F(Converter, CarriesEveryTypeExactlyWithNullsLongValuesAndPolishText)
{
    const std::string longMemo = LongPolishText(30000);  // several LVAL pages
    const std::string nfc = "Zażółć", nfd =
                                          "Zaz\xCC\x87"
                                          "o\xCC\x81\xC5\x82"
                                          "c\xCC\x81";  // both Unicode forms
    sa::Binary picture(100000);
    for (std::size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<std::uint8_t>(i * 7);
    const auto guid = sa::GuidFromText("{6F9619FF-8B86-D011-B42D-00C04FC964FF}");
    std::vector<std::vector<sa::Value>> rows;
    rows.push_back({std::int64_t{1}, true, std::int64_t{255}, std::int64_t{-32768}, std::int64_t{2147483647},
                    sa::Currency{std::numeric_limits<std::int64_t>::max()}, 0.1, 1e308,
                    sa::MakeDateTime(2003, 4, 5, 6, 7, 8), sa::Binary{0, 1, 2, 255}, nfc, nfd, longMemo, picture,
                    guid});
    rows.push_back({std::int64_t{2}, false, std::int64_t{0}, std::int64_t{32767}, std::int64_t{-2147483647 - 1},
                    sa::Currency{-123456}, -1.5, 5e-324, sa::DateTime{-1.25}, sa::Binary{}, "007", "", "12",
                    sa::Binary{9}, sa::Guid{}});
    rows.push_back({std::int64_t{3}, false, {}, {}, {}, {}, {}, {}, {}, {}, "-", {}, {}, {}, {}});
    const auto path = Convert({{EveryType(), rows}});

    const std::string from = " FROM \"Wszystkie typy\" ORDER BY Nr";
    const auto column = [&](const char* name) { return Column(path, std::string("SELECT \"") + name + "\"" + from); };
    using V = std::vector<std::string>;
    EXPECT_EQ(column("Tak"), (V{"integer:1", "integer:0", "integer:0"}));
    EXPECT_EQ(column("Bajt"), (V{"integer:255", "integer:0", "null"}));
    EXPECT_EQ(column("Krótka"), (V{"integer:-32768", "integer:32767", "null"}));
    EXPECT_EQ(column("Długa"), (V{"integer:2147483647", "integer:-2147483648", "null"}));
    EXPECT_EQ(column("Kwota"), (V{"integer:9223372036854775807", "integer:-123456", "null"}));
    EXPECT_EQ(column("Kiedy"), (V{"text:2003-04-05 06:07:08", "text:1899-12-29 06:00:00", "null"}));
    EXPECT_EQ(column("Bajty"), (V{std::string("blob:\0\1\2\xFF", 9), "blob:", "null"}));
    EXPECT_EQ(column("Tytuł"), (V{"text:" + nfc, "text:007", "text:-"}));
    EXPECT_EQ(column("Nieskompresowany"), (V{"text:" + nfd, "text:", "null"}));
    EXPECT_EQ(column("Opis"), (V{"text:" + longMemo, "blob:12", "null"}));  // "12" kept as text, in bytes
    EXPECT_EQ(column("Obraz"), (V{"blob:" + std::string(picture.begin(), picture.end()), "blob:\x09", "null"}));
    EXPECT_EQ(column("Id"), (V{"text:{6F9619FF-8B86-D011-B42D-00C04FC964FF}",
                               "text:{00000000-0000-0000-0000-000000000000}", "null"}));
    // Single and Double bit for bit: the float's 0.1 is not the double's.
    char single[40];
    std::snprintf(single, sizeof single, "%.17g", static_cast<double>(0.1f));
    EXPECT_EQ(One(path, "SELECT printf('%!.17g', Pojedyncza)" + from), std::string("text:") + single);
    EXPECT_EQ(One(path, "SELECT printf('%!.17g', \"Podwójna\") FROM \"Wszystkie typy\" WHERE Nr = 2"),
              "text:4.9406564584124654e-324");
    EXPECT_EQ(One(path, "SELECT FieldName || '=' || NextValue FROM MSysCounters"), "text:Nr=4");

    // The components list the kinds and read the values.
    TovaskADODB::TTovaskADOBase base("dbFilm");
    base.SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Mode=ReadWrite;Data Source=" +
                             engine::quoteDataSource(path));
    base.OpenBase();
    TovaskADODB::TTovaskADOTable table("mdbFilmy");
    table.SetConnection(&base);
    table.SetTableName("Wszystkie typy");
    table.Open();
    const std::vector<std::pair<FieldKind, int>> kinds = {
        {FieldKind::Long, 0},     {FieldKind::YesNo, 0},      {FieldKind::Byte, 0},   {FieldKind::Integer, 0},
        {FieldKind::Long, 0},     {FieldKind::Currency, 0},   {FieldKind::Single, 0}, {FieldKind::Double, 0},
        {FieldKind::DateTime, 0}, {FieldKind::Binary, 8},     {FieldKind::Text, 40},  {FieldKind::Text, 40},
        {FieldKind::Memo, 0},     {FieldKind::LongBinary, 0}, {FieldKind::Guid, 0}};
    ASSERT_EQ(table.FieldCount(), static_cast<int>(kinds.size()));
    for (int i = 0; i < table.FieldCount(); ++i) {
        EXPECT_EQ(table.FieldDefs()[i].DataType, kinds[static_cast<std::size_t>(i)].first) << i;
        EXPECT_EQ(table.FieldDefs()[i].Size, kinds[static_cast<std::size_t>(i)].second) << i;
    }
    EXPECT_EQ(table.RecordCount(), 3);
    table.First();
    EXPECT_EQ(table.FieldValue(5), engine::Variant(922337203685477.5807));
    EXPECT_EQ(table.FieldValue(10), engine::Variant(nfc));
    EXPECT_EQ(table.FieldValue(12), engine::Variant(longMemo));

    // Properties and indexes.
    auto& stored = *base.DaoDatabase();
    const auto fields = stored.tableDef("Wszystkie typy").fields();
    EXPECT_TRUE(fields[0].required());
    EXPECT_TRUE(fields[10].required());
    EXPECT_FALSE(fields[10].allowZeroLength());
    EXPECT_FALSE(fields[11].required());
    EXPECT_TRUE(fields[11].allowZeroLength());
    const auto indexes = stored.tableDef("Wszystkie typy").indexes();
    ASSERT_EQ(indexes.size(), 3u);
    EXPECT_EQ(indexes[0].name(), "PrimaryKey");
    EXPECT_TRUE(indexes[0].primary());
    EXPECT_EQ(indexes[1].name(), "Tytuł i data");
    EXPECT_TRUE(indexes[1].unique());
    EXPECT_FALSE(indexes[1].primary());
    EXPECT_EQ(indexes[1].fields(), (std::vector<std::string>{"Tytuł", "Kiedy"}));
    EXPECT_FALSE(indexes[2].unique());
}

TEST_F(Converter, ReportsItsProgressAndLetsTheCallerHandleInput)
{
    using T = sa::ColumnType;
    std::vector<std::vector<sa::Value>> rows;
    for (int i = 0; i < 1000; ++i) rows.push_back({std::int64_t{i}});
    sa::WriteAccessFile(access, {{{"A", {{"Nr", T::Long}}, {}}, rows}, {{"B", {{"Nr", T::Long}}, {}}, rows}});
    std::vector<std::int64_t> done;
    int pending = 0;
    accessdb::ConversionHooks hooks;
    hooks.progress = [&](std::int64_t rowsDone, std::int64_t total) {
        EXPECT_EQ(total, 2000);
        done.push_back(rowsDone);
    };
    hooks.pendingInput = [&] { ++pending; };
    const auto summary = accessdb::ConvertAccessFile(access, converted, hooks);
    EXPECT_EQ(summary.tables, 2);
    EXPECT_EQ(summary.rows, 2000);
    ASSERT_FALSE(done.empty());
    EXPECT_EQ(done.back(), 2000);
    EXPECT_TRUE(std::is_sorted(done.begin(), done.end()));
    EXPECT_GE(pending, 2000 / 256);
}

TEST_F(Converter, KeepsTablesInTheirOrderAndAnEmptyTable)
{
    using T = sa::ColumnType;
    const sa::TableDefinition empty{"Pusta", {{"A", T::Long}}, {}};
    const sa::TableDefinition letters{"Łańcuch", {{"Ż", T::Text, 5}}, {}};
    Convert({{letters, {{std::string("żółw")}}}, {empty, {}}});
    EXPECT_EQ(Column(converted, "SELECT name FROM sqlite_schema WHERE type = 'table' AND name NOT LIKE 'MSys%'"),
              (std::vector<std::string>{"text:Łańcuch", "text:Pusta"}));
    EXPECT_EQ(One(converted, "SELECT count(*) FROM Pusta"), "integer:0");
    EXPECT_EQ(One(converted, "SELECT \"Ż\" FROM \"Łańcuch\""), "text:żółw");
}

struct Structure {
    std::vector<std::string> fields;   // name, kind, size, Required, AllowZeroLength
    std::vector<std::string> indexes;  // name, fields, primary, unique
};

Structure StructureOf(engine::Database& database, const std::string& table)
{
    Structure out;
    for (const auto& field : database.tableDef(table).fields())
        out.fields.push_back(field.name() + " " + std::to_string(static_cast<int>(field.kind())) + " " +
                             std::to_string(field.size()) + (field.required() ? " R" : "") +
                             (field.allowZeroLength() ? " Z" : ""));
    for (const auto& index : database.tableDef(table).indexes()) {
        std::string text = index.name() + ":";
        for (const auto& field : index.fields()) text += " " + field;
        out.indexes.push_back(text + (index.primary() ? " P" : "") + (index.unique() ? " U" : ""));
    }
    return out;
}

TEST_F(Converter, SampleCataloguesOfEveryLevelConvertToWhatTheFormatItselfHolds)
{
    for (const auto level : sample::AllLevels()) {
        sample::SampleOptions options;
        options.level = level;
        options.films = 60;
        options.loans = 20;
        options.shape = sample::FilmShape::Heavy;
        options.format = sample::FileFormat::Access;
        const std::string name(sample::LevelName(level));
        const auto accessFile = folder.file(name + ".access.mdb");
        const auto direct = folder.file(name + ".direct.mdb");
        const auto carried = folder.file(name + ".carried.mdb");
        sample::WriteSampleCatalogue(accessFile, options);
        options.format = sample::FileFormat::Sqlite;
        sample::WriteSampleCatalogue(direct, options);
        accessdb::ConvertAccessFile(accessFile, carried);

        auto directBase = engine::Workspace("w").openDatabase(direct, false, false, "");
        auto carriedBase = engine::Workspace("w").openDatabase(carried, false, false, "");
        const auto tables = directBase->tableNames();
        ASSERT_EQ(carriedBase->tableNames(), tables) << name;
        for (const auto& table : tables) {
            const auto carriedStructure = StructureOf(*carriedBase, table);
            const auto directStructure = StructureOf(*directBase, table);
            EXPECT_EQ(carriedStructure.fields, directStructure.fields) << name << " " << table;
            EXPECT_EQ(carriedStructure.indexes, directStructure.indexes) << name << " " << table;
            // Every row, every value, with its storage class, in stored order.
            std::string row;
            for (const auto& field : directBase->tableDef(table).fields())
                row += (row.empty() ? "" : " || ';' || ") + std::string("typeof(\"") + field.name() +
                       "\") || ':' || quote(\"" + field.name() + "\")";
            const auto sql = "SELECT " + row + " FROM \"" + table + "\" ORDER BY rowid";
            const auto expected = Column(direct, sql);
            EXPECT_GT(expected.size(), 0u) << name << " " << table;
            EXPECT_EQ(Column(carried, sql), expected) << name << " " << table;
        }
    }
}

}  // namespace
