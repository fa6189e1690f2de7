// Values written through a recordset: conversions to the field's kind, limits
// and field properties, as read back from the recordset and from the file.

#include "db/engine/engine_error.h"
#include "db/engine/recordset.h"
#include "db/engine/schema.h"
#include "engine_test_support.h"

#include <gmock/gmock.h>

using namespace engine;
using engine_test::queryText;
using testing::HasSubstr;

namespace {

enum Pos { L, T, M, B, D, R };

class ValueConversion : public testing::Test {
protected:
    void SetUp() override
    {
        path = dir.file("values.mdb");
        engine_test::makeSqliteFile(
            path, "CREATE TABLE V(L LONG, T TEXT(5), M MEMO, B BIT NOT NULL DEFAULT 0, D DATETIME, R REAL)");
        connection = engine_test::openConnection(path);
        rs.open(*connection, "v");
    }

    // Writes one value at a position and returns what the file stores there.
    std::string store(Pos position, const Variant& value)
    {
        std::vector<Variant> row(6);
        row[position] = value;
        rs.append(row);
        const char* names[] = {"L", "T", "M", "B", "D", "R"};
        return queryText(path, std::string("SELECT ") + names[position] + " FROM V ORDER BY rowid DESC LIMIT 1");
    }

    void expectRejected(Pos position, const Variant& value, const std::string& messagePart)
    {
        const int before = rs.recordCount();
        std::vector<Variant> row(6);
        row[position] = value;
        try {
            rs.append(row);
            ADD_FAILURE() << "accepted a " << variantTypeName(value.type()) << " value";
        } catch (const EngineError& e) {
            EXPECT_THAT(e.what(), HasSubstr(messagePart));
        }
        EXPECT_EQ(rs.recordCount(), before);
        EXPECT_EQ(queryText(path, "SELECT count(*) FROM V"), std::to_string(before));
    }

    engine_test::TempDir dir;
    std::string path;
    std::unique_ptr<Connection> connection;
    StaticRecordset rs;
};

TEST_F(ValueConversion, LongFromIntegerBooleanRoundedDoubleAndIntegerText)
{
    EXPECT_EQ(store(L, std::int32_t{-7}), "-7");
    EXPECT_EQ(store(L, true), "-1");
    EXPECT_EQ(store(L, 2.5), "2");
    EXPECT_EQ(store(L, 3.5), "4");
    EXPECT_EQ(store(L, -2.5), "-2");
    EXPECT_EQ(store(L, " 42 "), "42");
    EXPECT_EQ(store(L, Variant()), "<null>");
    EXPECT_EQ(rs.value(L), Variant());
    expectRejected(L, "4.5", "Text value cannot be stored in the Long field 'V.L'");
    expectRejected(L, 3e10, "Double value");
    expectRejected(L, DateTime{2020, 1, 1}, "DateTime value");
}

TEST_F(ValueConversion, TextFromTextNumbersYesNoAndDatesWithinItsSize)
{
    EXPECT_EQ(store(T, "ąęółż"), "ąęółż");  // five characters, ten bytes
    EXPECT_EQ(store(T, std::int32_t{-1234}), "-1234");
    EXPECT_EQ(store(T, 1.5), "1,5");
    EXPECT_EQ(store(M, 0.1), "0,1");
    EXPECT_EQ(store(M, 1e20), "1E+20");
    // MEMO columns have SQLite's NUMERIC affinity: such texts must not become numbers.
    EXPECT_EQ(store(M, "007"), "007");
    EXPECT_EQ(store(M, " 12 "), " 12 ");
    rs.open(*connection, "V");
    rs.first();
    for (int i = 0; i < 4; ++i) rs.next();
    EXPECT_EQ(rs.value(M), Variant("1E+20"));
    EXPECT_EQ(store(M, DateTime{2024, 2, 29}), "2024-02-29");
    EXPECT_EQ(store(M, DateTime{2024, 2, 29, 13, 5, 9}), "2024-02-29 13:05:09");
    EXPECT_EQ(rs.value(M), Variant("2024-02-29 13:05:09"));
    const std::string longText(70000, 'x');
    EXPECT_EQ(store(M, longText).size(), longText.size());
    expectRejected(T, "ąęółżx",
                   "The field is too small to accept the amount of data you attempted to add. (field 'V.T')");
    // The size counts characters, not bytes.
    EXPECT_EQ(store(T, "ąęółż"), "ąęółż");
    // A Yes/No value becomes text as the variant makes it.
    EXPECT_EQ(store(T, true), "True");
    EXPECT_EQ(store(M, false), "False");
}

TEST_F(ValueConversion, OnlyWellFormedUtf8IsStoredAsText)
{
    // Long runs of ASCII around the bytes, so that a fault in skipping plain text shows too.
    const std::string ascii(21, 'a');
    for (const std::string good : {"\xF0\x9F\x8E\xAC", "\xE2\x82\xAC", "\xC5\xBC", "\xF4\x8F\xBF\xBF"})
        EXPECT_EQ(store(M, ascii + good + ascii + good), ascii + good + ascii + good);
    for (const std::string bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF5\x80", "\x80",
                                  "\xC5", "\xE2\x82", "\xFF"}) {
        expectRejected(M, ascii + bad + ascii, "not valid text");
        expectRejected(M, ascii + bad, "not valid text");
        expectRejected(M, std::string(16, 'b') + bad, "not valid text");
    }
}

TEST_F(ValueConversion, YesNoNeverNullAndConvertedAsTheVariantDoes)
{
    EXPECT_EQ(store(B, Variant()), "0");
    EXPECT_EQ(rs.value(B), Variant(false));
    EXPECT_EQ(rs.valueAsInteger(B), 0);
    EXPECT_EQ(store(B, std::int32_t{5}), "1");
    EXPECT_EQ(rs.value(B), Variant(true));
    EXPECT_EQ(rs.valueAsInteger(B), -1);
    EXPECT_EQ(store(B, "False"), "0");
    EXPECT_EQ(store(B, " 1 "), "1");
    EXPECT_EQ(store(B, 0.5), "1");
    expectRejected(B, "tak", "Text value cannot be stored in the Yes/No field 'V.B'");
    expectRejected(B, DateTime{2020, 1, 1}, "DateTime value cannot be stored in the Yes/No field 'V.B'");
}

TEST_F(ValueConversion, DateTimeFromDatesAndIsoText)
{
    EXPECT_EQ(store(D, DateTime{1999, 12, 31, 23, 59, 58, 0}), "1999-12-31 23:59:58");
    EXPECT_EQ(store(D, DateTime{1999, 12, 31, 23, 59, 58, 7}), "1999-12-31 23:59:58.007");
    EXPECT_EQ(store(D, "2001-02-03T04:05:06.7"), "2001-02-03 04:05:06.700");
    EXPECT_EQ(rs.value(D), Variant(DateTime{2001, 2, 3, 4, 5, 6, 700}));
    EXPECT_EQ(store(D, "2001-02-03"), "2001-02-03 00:00:00");
    EXPECT_EQ(store(D, DateTime{45, 3, 15, 9, 0, 1, 10}), "0045-03-15 09:00:01.010");
    expectRejected(D, "2023-02-29", "Text value cannot be stored in the Date/Time field 'V.D'");
    expectRejected(D, DateTime{2023, 13, 1}, "DateTime value");
    expectRejected(D, std::int32_t{1}, "Integer value");
}

TEST_F(ValueConversion, RequiredAndZeroLengthRules)
{
    DbEngine dbEngine("3.6");
    auto database = dbEngine.createWorkspace("w", "Admin", "", 2)->openDatabase(path, false, false, "");
    auto table = database->tableDef("V");
    table.field("L").setRequired(true);
    table.field("t").setAllowZeroLength(false);
    rs.open(*connection, "V");  // properties are read when a recordset opens

    expectRejected(L, Variant(), "The field 'V.L' cannot contain a Null value");
    std::vector<Variant> row{std::int32_t{1}, Variant(), ""};
    rs.append(row);  // null text still allowed; empty Memo allowed
    EXPECT_EQ(rs.value(M), Variant(""));
    row[T] = "";
    try {
        rs.append(row);
        ADD_FAILURE() << "accepted an empty text";
    } catch (const EngineError& e) {
        EXPECT_STREQ(e.what(), "Field 'V.T' cannot be a zero-length string.");
    }
    EXPECT_TRUE(table.field("L").required());
    EXPECT_FALSE(table.field("T").allowZeroLength());
    EXPECT_TRUE(table.field("M").allowZeroLength());
}

TEST(VariantConversion, NullAndMismatchesAreErrors)
{
    EXPECT_THROW(Variant().toInteger(), VariantError);
    EXPECT_THROW(Variant("abc").toInteger(), VariantError);
    EXPECT_THROW(Variant(DateTime{}).toDouble(), VariantError);
    EXPECT_EQ(Variant(true).toInteger(), -1);
    EXPECT_EQ(Variant(-0.5).toInteger(), 0);
    EXPECT_EQ(Variant(1.5).toInteger(), 2);
    EXPECT_EQ(Variant("2,25").toDouble(), 2.25);
    EXPECT_EQ(Variant(2.25).toText(), "2,25");
    EXPECT_EQ(Variant("1990-01-02 03:04").toDateTime(), (DateTime{1990, 1, 2, 3, 4, 0, 0}));
}

}  // namespace
