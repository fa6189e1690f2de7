// The table component as a dataset: properties, reading, clones and appends.

#include "component_fixture.h"
#include "db/TovaskADODB/same_text.h"

using namespace components_test;
using engine::FieldKind;
using engine::Variant;
using TovaskADODB::TDataSource;
using TovaskADODB::TTovaskADOTable;

namespace {

TEST_F(LoansCatalogue, PropertyWritersRaiseWithTheComponentName)
{
    mdbFilmy.Open();
    EXPECT_EQ(DatabaseErrorOf([&] { mdbFilmy.SetTableName("FILMY"); }),
              "mdbFilmy: Cannot perform this operation on an open dataset");
    EXPECT_NO_THROW(mdbFilmy.SetTableName("WYPOZYCZ"));  // unchanged is no change
    EXPECT_EQ(DatabaseErrorOf([&] { mdbClone.SetADOCommandText("SELECT 1"); }), "Tabela nie została określona.");

    TTovaskADOTable a("mdbA"), b("mdbB");
    TDataSource toA{&a}, toB{&b};
    EXPECT_EQ(DatabaseErrorOf([&] { a.SetMasterSource(&toA); }), "mdbA: Wywołanie cykliczne!");
    b.SetMasterSource(&toA);
    EXPECT_EQ(DatabaseErrorOf([&] { a.SetMasterSource(&toB); }), "mdbA: Wywołanie cykliczne!");
    EXPECT_EQ(a.MasterSource(), nullptr);
}

TEST_F(LoansCatalogue, FindsFieldsAndKeepsTheirDefinitionsWhenClosed)
{
    mdbFilmy.Open();
    auto zwrot = mdbFilmy.FindField("zwrot");
    ASSERT_TRUE(zwrot.has_value());
    EXPECT_EQ(zwrot->Name, "ZWROT");
    EXPECT_EQ(zwrot->DataType, FieldKind::YesNo);
    EXPECT_EQ(zwrot->Index, 6);
    EXPECT_FALSE(mdbFilmy.FindField("AKA").has_value());

    // The definitions outlive the open dataset.
    mdbFilmy.Close();
    ASSERT_EQ(mdbFilmy.FieldDefs().Count(), 7);
    EXPECT_EQ(mdbFilmy.FieldDefs()[5].Name, "UWAGI");
    EXPECT_EQ(mdbFilmy.FieldDefs()[5].Size, 50);
    EXPECT_EQ(DatabaseErrorOf([&] { mdbFilmy.RecordCount(); }),
              "mdbFilmy: Cannot perform this operation on a closed dataset");
}

TEST(SameText, IgnoresCaseOfPolishLettersToo)
{
    using TovaskADODB::SameText;
    EXPECT_TRUE(SameText("ŁĄKA źdźbło ÓŚŻĆŃĘ", "łąka ŹDŹBŁO óśżćńę"));
    EXPECT_FALSE(SameText("ŁAN", "LAN"));
    EXPECT_FALSE(SameText("AKA", "AK"));
}

TEST_F(LoansCatalogue, CloneOutlivesItsSourceAndTheEmptiedTable)
{
    mdbFilmy.Open();
    mdbClone.Clone(mdbFilmy);
    mdbFilmy.EmptyTable();
    EXPECT_EQ(mdbFilmy.RecordCount(), 0);
    mdbFilmy.Close();
    ASSERT_TRUE(mdbClone.Active());
    EXPECT_EQ(mdbClone.RecordCount(), 3);
    mdbClone.First();
    EXPECT_EQ(mdbClone.FieldValue(5), Variant("pierwszy"));
    EXPECT_EQ(QueryColumn(path, "SELECT count(*) FROM WYPOZYCZ"), std::vector<std::string>{"0"});
}

TEST_F(LoansCatalogue, AppendRecordPostsTheRowAtOnce)
{
    mdbFilmy.Open();
    mdbFilmy.AppendRecord(
        {Variant(4), Variant(40), Variant(), Variant("2006-07-08"), Variant(), Variant(""), Variant(false)});
    EXPECT_EQ(QueryColumn(path, "SELECT FILM_ID FROM WYPOZYCZ WHERE ID = 4"), std::vector<std::string>{"40"});
    mdbFilmy.SetReadOnly(true);
    EXPECT_EQ(DatabaseErrorOf([&] { mdbFilmy.AppendRecord({Variant(5)}); }),
              "mdbFilmy: Cannot modify a read-only dataset");
}

TEST_F(LoansCatalogue, EmptyTableLeavesTheTableOpen)
{
    // Closed, it holds no rows: nothing is deleted, but it opens.
    mdbFilmy.EmptyTable();
    EXPECT_TRUE(mdbFilmy.Active());
    EXPECT_EQ(mdbFilmy.RecordCount(), 3);

    mdbFilmy.EmptyTable();
    EXPECT_TRUE(mdbFilmy.Active());
    EXPECT_EQ(mdbFilmy.RecordCount(), 0);
}

}  // namespace
