// The Access writer's files read back exactly through libmdb and through
// mdb-export: every column type, both forms of Unicode text, long values in
// each of their three places, nulls, declared indexes, many pages.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "access_file_reader.h"
#include "tests/support/temp_folder.h"
#include "tools/sample/access/access_file.h"
#include "tools/sample/access/jet_text.h"

using namespace sample::access;
using namespace access_test;
using test_support::TempFolder;

namespace {

Column column(const std::string& name, ColumnType type, int size = 0)
{
    Column result;
    result.name = name;
    result.type = type;
    result.size = size;
    return result;
}

std::string bytesOf(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string asString(const ByteVector& bytes)
{
    return {bytes.begin(), bytes.end()};
}

// Every type, one column each; Długa is the AutoNumber.
TableDefinition everyType()
{
    TableDefinition table{
        "Wszystko",
        {column("Tak", ColumnType::YesNo), column("Bajt", ColumnType::Byte), column("Liczba", ColumnType::Integer),
         column("Długa", ColumnType::Long), column("Kwota", ColumnType::Currency),
         column("Pojedyncza", ColumnType::Single), column("Podwójna", ColumnType::Double),
         column("Kiedy", ColumnType::DateTime), column("Dane", ColumnType::Binary, 16),
         column("Tytuł", ColumnType::Text, 50), column("Uwagi", ColumnType::Memo), column("Obraz", ColumnType::Ole),
         column("Znacznik", ColumnType::Guid)},
        {{"PrimaryKey", {"Długa"}, true, false}}};
    table.columns[3].autoNumber = true;
    table.columns[3].required = true;
    table.columns[9].allowZeroLength = false;
    return table;
}

const Guid guid = GuidFromText("{12345678-9ABC-DEF0-1122-334455667788}");

std::vector<std::vector<Value>> everyTypeRows()
{
    return {
        {true, std::int64_t{255}, std::int64_t{-32768}, std::int64_t{1}, Currency{-123456789}, 1.5, 0.1,
         MakeDateTime(1999, 12, 31, 23, 59, 59), Binary{1, 2, 3, 255}, std::string("Zażółć gęślą jaźń"),
         std::string("Łódź\r\nKraków"), Binary{0, 1, 0, 2}, guid},
        {false, std::int64_t{0}, std::int64_t{32767}, std::int64_t{2147483647}, Currency{99990000}, -0.25, 1e300,
         MakeDateTime(1899, 12, 30), Binary{0x10}, std::string("ÓŚĆ"), std::string(""), Binary{}, Guid{}},
        {false, {}, {}, std::int64_t{7}, {}, {}, {}, {}, {}, {}, {}, {}, {}},
    };
}

}  // namespace

TEST(AccessWriter, EveryColumnTypeReadsBackThroughLibmdb)
{
    const TempFolder folder;
    WriteAccessFile(folder / "a.mdb", {{everyType(), everyTypeRows()}});
    const MdbFile file(folder / "a.mdb");
    EXPECT_EQ(file.userTables(), std::vector<std::string>{"Wszystko"});
    EXPECT_EQ(
        file.rows("Wszystko"),
        (std::vector<Row>{{"1", "255", "-32768", "1", "-12345.6789", "1.5", "0.1", "1999-12-31 23:59:59", "010203ff",
                           "Zażółć gęślą jaźń", "Łódź\r\nKraków", "00010002", "{12345678-9ABC-DEF0-1122334455667788}"},
                          {"0", "0", "32767", "2147483647", "9999.0000", "-0.25", "1e+300", "1899-12-30 00:00:00", "10",
                           "ÓŚĆ", "", "", "{00000000-0000-0000-0000000000000000}"},
                          {"0", nullText, nullText, "7", nullText, nullText, nullText, nullText, nullText, nullText,
                           nullText, nullText, nullText}}));

    std::vector<std::tuple<std::string, int, int, bool, std::string, std::string>> columns;
    for (const auto& c : file.columns("Wszystko"))
        columns.emplace_back(c.name, c.type, c.size, c.autoNumber, c.required, c.allowZeroLength);
    EXPECT_EQ(columns, (decltype(columns){{"Tak", 1, 0, false, "no", ""},
                                          {"Bajt", 2, 1, false, "no", ""},
                                          {"Liczba", 3, 2, false, "no", ""},
                                          {"Długa", 4, 4, true, "yes", ""},
                                          {"Kwota", 5, 8, false, "no", ""},
                                          {"Pojedyncza", 6, 4, false, "no", ""},
                                          {"Podwójna", 7, 8, false, "no", ""},
                                          {"Kiedy", 8, 8, false, "no", ""},
                                          {"Dane", 9, 16, false, "no", ""},
                                          {"Tytuł", 10, 100, false, "no", "no"},
                                          {"Uwagi", 12, 0, false, "no", "yes"},
                                          {"Obraz", 11, 0, false, "no", ""},
                                          {"Znacznik", 15, 16, false, "no", ""}}));

    // The AutoNumber's counter: the last number handed out, the next row gets one more.
    const std::string bytes = bytesOf(folder / "a.mdb");
    const std::size_t counter = file.definitionPage("Wszystko") * 4096 + 20;
    ASSERT_LT(counter + 4, bytes.size());
    std::uint32_t last = 0;
    for (int i = 3; i >= 0; --i) last = last << 8 | static_cast<unsigned char>(bytes[counter + i]);
    EXPECT_EQ(last, 0x7FFFFFFFu);
}

// mdb-export cannot tell an empty text from a null, writes a Replication ID
// as the hex of its text, and ends a Binary at its first 0 byte: the values
// here avoid the last.
TEST(AccessWriter, MdbExportReadsTheSameValues)
{
    const TempFolder folder;
    auto rows = everyTypeRows();
    rows[0][11] = Binary{1, 2, 3};
    rows[1][11] = Binary{0x7F};
    WriteAccessFile(folder / "a.mdb", {{everyType(), rows}});
    const auto exported = MdbExport(folder / "a.mdb", "Wszystko");
    ASSERT_EQ(exported.size(), 4u);
    EXPECT_EQ(exported[0], (Row{"Tak", "Bajt", "Liczba", "Długa", "Kwota", "Pojedyncza", "Podwójna", "Kiedy", "Dane",
                                "Tytuł", "Uwagi", "Obraz", "Znacznik"}));
    const std::string guidHex = "7B31323334353637382D394142432D444546302D313132323333343435353636373738387D";
    EXPECT_EQ(exported[1], (Row{"1", "255", "-32768", "1", "-12345.6789", "1.5", "0.1", "1999-12-31 23:59:59",
                                "010203FF", "Zażółć gęślą jaźń", "Łódź\r\nKraków", "010203", guidHex}));
    EXPECT_EQ(exported[2][9], "ÓŚĆ");
    EXPECT_EQ(exported[2][10], nullText);  // the empty memo
    EXPECT_EQ(exported[3], (Row{"0", nullText, nullText, "7", nullText, nullText, nullText, nullText, nullText,
                                nullText, nullText, nullText, nullText}));
}

TEST(AccessWriter, TextIsStoredCompressedOnlyWhereThatIsAllowedPossibleAndShorter)
{
    // Kept in one byte where that saves more than the switches cost.
    EXPECT_EQ(StoredText(Utf16("Gdańsk i Kraków"), true),
              (ByteVector{0xFF, 0xFE, 'G', 'd', 'a', 0,   0x44, 0x01, 0,    's',
                          'k',  ' ',  'i', ' ', 'K', 'r', 'a',  'k',  0xF3, 'w'}));
    EXPECT_EQ(StoredText(Utf16("Kraków"), false), (ByteVector{'K', 0, 'r', 0, 'a', 0, 'k', 0, 0xF3, 0, 'w', 0}));
    // A lone Latin letter between Polish ones stays in two bytes.
    EXPECT_EQ(StoredText(Utf16("abcdefgh żaż"), true),
              (ByteVector{0xFF, 0xFE, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', ' ', 0, 0x7C, 0x01, 'a', 0, 0x7C, 0x01}));
    EXPECT_EQ(StoredText(Utf16("Łódź"), true), Utf16Bytes(Utf16("Łódź")));  // compressed would be longer
    EXPECT_EQ(StoredText(Utf16("Łź"), true), Utf16Bytes(Utf16("Łź")));      // compressed would be longer
    EXPECT_EQ(StoredText(Utf16("Ābc"), true), Utf16Bytes(Utf16("Ābc")));    // U+0100 would read as a switch
    EXPECT_EQ(StoredText(u"", true), ByteVector{});
    EXPECT_THROW(Utf16("\xC3"), std::invalid_argument);
    EXPECT_THROW(Utf16("\xED\xA0\x80"), std::invalid_argument);  // a surrogate
}

TEST(AccessWriter, PolishLettersReadBackInBothUnicodeForms)
{
    // Some too dense in Polish letters to be worth compressing, some not.
    const std::vector<std::string> texts = {"Zażółć gęślą jaźń",
                                            "ZAŻÓŁĆ GĘŚLĄ JAŹŃ",
                                            "Łódź",
                                            "Ćma",
                                            "Przygody Ani z Zielonego Wzgórza",
                                            "Ogniem i mieczem, część pierwsza",
                                            "Gdańsk i Kraków"};
    TableDefinition table{"Teksty",
                          {column("Krótki", ColumnType::Text, 100), column("Pełny", ColumnType::Text, 100),
                           column("MemoKrótki", ColumnType::Memo), column("MemoPełny", ColumnType::Memo)},
                          {}};
    table.columns[1].compressedUnicode = false;
    table.columns[3].compressedUnicode = false;
    std::vector<std::vector<Value>> rows;
    std::string longText;
    for (const auto& text : texts) {
        rows.push_back({text, text, text + " " + text, text + " " + text});
        longText += text + " ";
    }
    rows.push_back({{}, {}, longText, longText});
    const TempFolder folder;
    WriteAccessFile(folder / "a.mdb", {{table, rows}});

    const std::string bytes = bytesOf(folder / "a.mdb");
    for (const auto& text : texts) {
        EXPECT_NE(bytes.find(asString(Utf16Bytes(Utf16(text)))), std::string::npos) << text;
        const ByteVector compressed = StoredText(Utf16(text), true);
        if (IsCompressed(compressed)) {
            EXPECT_NE(bytes.find(asString(compressed)), std::string::npos) << text;
        }
    }
    EXPECT_FALSE(IsCompressed(StoredText(Utf16(texts[0]), true)));
    EXPECT_TRUE(IsCompressed(StoredText(Utf16(texts[5]), true)));

    std::vector<Row> expected;
    for (const auto& row : rows) {
        Row text;
        for (const auto& value : row)
            text.push_back(std::holds_alternative<std::string>(value) ? std::get<std::string>(value) : nullText);
        expected.push_back(text);
    }
    EXPECT_EQ(MdbFile(folder / "a.mdb").rows("Teksty"), expected);
    expected.insert(expected.begin(), Row{"Krótki", "Pełny", "MemoKrótki", "MemoPełny"});
    EXPECT_EQ(MdbExport(folder / "a.mdb", "Teksty"), expected);
}

TEST(AccessWriter, LongValuesSitInlineOnOneLvalPageOrOnAChain)
{
    TableDefinition table{
        "Opisy",
        {column("Nr", ColumnType::Long), column("Opis", ColumnType::Memo), column("Plik", ColumnType::Ole)},
        {}};
    const std::string sentence = "Akcja filmu toczy się w Krakowie. ";
    auto repeated = [&](std::size_t times) {
        std::string text;
        for (std::size_t i = 0; i < times; ++i) text += sentence;
        return text;
    };
    auto bytes = [](std::size_t size) {
        Binary data(size);
        for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<std::uint8_t>(i * 7 + 1);
        return data;
    };
    // 34 characters a sentence: 1 inline; 30 compressed on one page; 60 (too
    // long to compress: 4080 bytes, a page's most) on one page; 150 and 1000
    // on chains.
    const std::vector<std::vector<Value>> rows = {
        {std::int64_t{1}, repeated(1), bytes(20)},     {std::int64_t{2}, repeated(30), bytes(4000)},
        {std::int64_t{3}, repeated(60), bytes(4081)},  {std::int64_t{4}, repeated(150), bytes(20000)},
        {std::int64_t{5}, repeated(1000), bytes(100)}, {std::int64_t{6}, {}, {}},
    };
    const TempFolder folder;
    WriteAccessFile(folder / "a.mdb", {{table, rows}});
    const MdbFile file(folder / "a.mdb");
    EXPECT_EQ(file.longValueKinds("Opisy", "Opis"), (std::vector<int>{0x80, 0x40, 0x40, 0x00, 0x00, -1}));
    EXPECT_EQ(file.longValueKinds("Opisy", "Plik"), (std::vector<int>{0x80, 0x40, 0x00, 0x00, 0x40, -1}));
    const auto read = file.rows("Opisy");
    const auto exported = MdbExport(folder / "a.mdb", "Opisy");
    ASSERT_EQ(read.size(), rows.size());
    ASSERT_EQ(exported.size(), rows.size() + 1);
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
        EXPECT_EQ(read[i][1], std::get<std::string>(rows[i][1])) << i;
        EXPECT_EQ(exported[i + 1][1], std::get<std::string>(rows[i][1])) << i;
        const Binary& data = std::get<Binary>(rows[i][2]);
        std::string hex;
        for (auto byte : data) {
            static constexpr char digits[] = "0123456789abcdef";
            hex += digits[byte >> 4];
            hex += digits[byte & 0xF];
        }
        EXPECT_EQ(read[i][2], hex) << i;
    }
    EXPECT_EQ(read.back(), (Row{"6", nullText, nullText}));
}

TEST(AccessWriter, NullsAnywhereInTheRowKeepTheOtherValues)
{
    TableDefinition table{"Puste", {}, {}};
    for (int i = 0; i < 20; ++i) {
        const ColumnType types[] = {ColumnType::Long, ColumnType::Text, ColumnType::Memo, ColumnType::DateTime};
        table.columns.push_back(column("K" + std::to_string(i), types[i % 4], 10));
    }
    std::vector<std::vector<Value>> rows;
    std::vector<Row> expected;
    // Row r leaves column c null when bit c of r's pattern is set.
    for (int r = 0; r < 24; ++r) {
        std::vector<Value> row;
        Row text;
        const std::uint32_t pattern = r == 0 ? 0xFFFFF : r == 1 ? 0 : (r * 2654435761u) >> 7;
        for (int c = 0; c < 20; ++c) {
            const bool null = (pattern >> c) & 1;
            if (null)
                row.emplace_back();
            else if (c % 4 == 0)
                row.emplace_back(std::in_place_type<std::int64_t>, r * 100 + c);
            else if (c % 4 == 3)
                row.emplace_back(std::in_place_type<DateTime>, MakeDateTime(2000 + r, 1 + c % 12, 1 + c));
            else
                row.emplace_back(std::in_place_type<std::string>, "ż" + std::to_string(r * 100 + c));
            if (null)
                text.push_back(nullText);
            else if (c % 4 == 3)
                text.push_back(std::to_string(2000 + r) + "-" + (1 + c % 12 < 10 ? "0" : "") +
                               std::to_string(1 + c % 12) + "-" + (1 + c < 10 ? "0" : "") + std::to_string(1 + c) +
                               " 00:00:00");
            else
                text.push_back((c % 4 == 0 ? "" : "ż") + std::to_string(r * 100 + c));
        }
        rows.push_back(std::move(row));
        expected.push_back(std::move(text));
    }
    const TempFolder folder;
    WriteAccessFile(folder / "a.mdb", {{table, rows}});
    EXPECT_EQ(MdbFile(folder / "a.mdb").rows("Puste"), expected);
    auto exported = MdbExport(folder / "a.mdb", "Puste");
    exported.erase(exported.begin());
    EXPECT_EQ(exported, expected);
}

TEST(AccessWriter, DeclaredIndexesReadBackWithTheirColumnsAndKinds)
{
    TableDefinition table{"Filmy",
                          {column("ID", ColumnType::Long), column("Tytuł", ColumnType::Text, 150),
                           column("Rok", ColumnType::Integer), column("Kod", ColumnType::Guid)},
                          {{"PrimaryKey", {"ID"}, true, false},
                           {"TytułRok", {"Tytuł", "Rok"}, false, false},
                           {"Kod", {"Kod"}, false, true}}};
    const TempFolder folder;
    WriteAccessFile(folder / "a.mdb", {{table, {{std::int64_t{1}, std::string("Ćma"), std::int64_t{1999}, guid}}}});
    const auto indexes = MdbFile(folder / "a.mdb").indexes("Filmy");
    ASSERT_EQ(indexes.size(), 3u);
    EXPECT_EQ(indexes[0].name, "PrimaryKey");
    EXPECT_EQ(indexes[0].columns, std::vector<std::string>{"ID"});
    EXPECT_TRUE(indexes[0].primary && indexes[0].unique);
    EXPECT_EQ(indexes[1].name, "TytułRok");
    EXPECT_EQ(indexes[1].columns, (std::vector<std::string>{"Tytuł", "Rok"}));
    EXPECT_FALSE(indexes[1].primary || indexes[1].unique);
    EXPECT_EQ(indexes[2].columns, std::vector<std::string>{"Kod"});
    EXPECT_TRUE(!indexes[2].primary && indexes[2].unique);
    const std::string schema = MdbSchema(folder / "a.mdb", "postgres");
    EXPECT_NE(schema.find("PRIMARY KEY (\"id\")"), std::string::npos) << schema;
    EXPECT_NE(schema.find("ON \"filmy\" (\"tytuł\", \"rok\")"), std::string::npos) << schema;
    EXPECT_NE(schema.find("CREATE UNIQUE INDEX"), std::string::npos) << schema;
}

// 3000 rows of about 1 KB: some 750 data pages, more than an inline usage
// map covers, and a table definition of more than one page.
TEST(AccessWriter, ManyRowsAndWideTablesSpanManyPages)
{
    TableDefinition big{"Duża",
                        {column("Nr", ColumnType::Long), column("Tekst", ColumnType::Text, 255),
                         column("Więcej", ColumnType::Text, 255)},
                        {{"Nr", {"Nr"}, true, false}}};
    big.columns[1].compressedUnicode = false;
    big.columns[2].compressedUnicode = false;
    TableDefinition wide{"Szeroka", {}, {}};
    for (int i = 0; i < 200; ++i) {
        wide.columns.push_back(column("Kolumna numer " + std::to_string(i) + " o długiej nazwie", ColumnType::Integer));
        if (i % 20 == 0)
            wide.indexes.push_back({"Indeks " + std::to_string(i), {wide.columns.back().name}, false, false});
    }
    const TempFolder folder;
    AccessWriter writer(folder / "a.mdb");
    writer.beginTable(big);
    for (int i = 0; i < 3000; ++i)
        writer.addRow({std::int64_t{i}, std::string(250, static_cast<char>('a' + i % 26)), [] {
                           std::string text;
                           for (int i = 0; i < 120; ++i) text += "ł";
                           return text;
                       }()});
    writer.endTable();
    writer.beginTable(wide);
    std::vector<Value> row;
    for (int i = 0; i < 200; ++i) row.emplace_back(std::in_place_type<std::int64_t>, i - 100);
    writer.addRow(row);
    writer.endTable();
    writer.finish();

    const MdbFile file(folder / "a.mdb");
    EXPECT_EQ(file.usageMapType("Duża"), 1);
    EXPECT_EQ(file.usageMapType("Szeroka"), 0);
    const auto rows = file.rows("Duża");
    ASSERT_EQ(rows.size(), 3000u);
    for (int i = 0; i < 3000; i += 499) {
        EXPECT_EQ(rows[i][0], std::to_string(i));
        EXPECT_EQ(rows[i][1], std::string(250, static_cast<char>('a' + i % 26)));
    }
    EXPECT_EQ(MdbExport(folder / "a.mdb", "Duża").size(), 3001u);
    EXPECT_EQ(file.columns("Szeroka").size(), 200u);
    EXPECT_EQ(file.columns("Szeroka")[199].name, "Kolumna numer 199 o długiej nazwie");
    const auto indexes = file.indexes("Szeroka");
    ASSERT_EQ(indexes.size(), 10u);
    EXPECT_EQ(indexes[9].name, "Indeks 180");
    EXPECT_EQ(indexes[9].columns, std::vector<std::string>{"Kolumna numer 180 o długiej nazwie"});
    EXPECT_EQ(file.rows("Szeroka")[0][199], "99");
}

TEST(AccessWriter, RefusesWhatAColumnCannotHoldAndBadDefinitions)
{
    const TempFolder folder;
    AccessWriter writer(folder / "a.mdb");
    TableDefinition table{
        "T",
        {column("Nr", ColumnType::Byte), column("Tekst", ColumnType::Text, 3), column("Tak", ColumnType::YesNo)},
        {}};
    table.columns[1].required = true;
    table.columns[1].allowZeroLength = false;
    writer.beginTable(table);
    const std::vector<std::vector<Value>> refused = {
        {std::int64_t{256}, std::string("a"), true},
        {std::int64_t{1}, std::string("abcd"), true},
        {std::int64_t{1}, {}, true},
        {std::int64_t{1}, std::string(""), true},
        {std::int64_t{1}, std::string("a"), {}},
        {std::string("1"), std::string("a"), true},
        {std::int64_t{1}, std::string("a")},
    };
    for (std::size_t i = 0; i < refused.size(); ++i)
        EXPECT_THROW(writer.addRow(refused[i]), std::invalid_argument) << i;
    writer.addRow({std::int64_t{1}, std::string("żół"), false});
    writer.endTable();

    const std::vector<TableDefinition> bad = {
        {"t", {column("A", ColumnType::Long)}, {}},  // the name is taken
        {"MSysMoje", {column("A", ColumnType::Long)}, {}},
        {"U", {}, {}},
        {"U", {column("A", ColumnType::Text, 256)}, {}},
        {"U", {column("A", ColumnType::Long), column("a", ColumnType::Long)}, {}},
        {"U", {column("A", ColumnType::Long)}, {{"I", {"B"}, false, false}}},
        {"U", {column("A", ColumnType::Memo)}, {{"I", {"A"}, false, false}}},
        {"U", {column("A", ColumnType::Long)}, {{"I", {"A"}, true, false}, {"J", {"A"}, true, false}}},
    };
    for (std::size_t i = 0; i < bad.size(); ++i) EXPECT_THROW(writer.beginTable(bad[i]), std::invalid_argument) << i;
    writer.finish();
    EXPECT_EQ(MdbFile(folder / "a.mdb").rows("T"), (std::vector<Row>{{"1", "żół", "0"}}));
}

TEST(AccessWriter, DateTimesCountDaysFrom1899WithTheTimeAsFraction)
{
    EXPECT_EQ(MakeDateTime(1899, 12, 30).days, 0.0);
    EXPECT_EQ(MakeDateTime(1900, 1, 1, 12).days, 2.5);
    EXPECT_EQ(MakeDateTime(1899, 12, 29, 6).days, -1.25);  // the time still counts forward
    EXPECT_EQ(MakeDateTime(2008, 6, 30).days, 39629.0);
    EXPECT_THROW(MakeDateTime(2008, 13, 1), std::invalid_argument);
    EXPECT_EQ(GuidFromText("12345678-9abc-def0-1122-334455667788").bytes[0], 0x78);
    EXPECT_THROW(GuidFromText("{1234}"), std::invalid_argument);
}
