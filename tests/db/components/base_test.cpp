// The database component: engine versions, the version setter, the connection
// string and the open/close sequence.

#include "component_fixture.h"
#include "db/TovaskADODB/clipboard_format.h"

using namespace components_test;
using TovaskADODB::TTovaskADOBase;

namespace {

engine::EngineCatalog CatalogOf(std::vector<std::string> versions, std::vector<std::string> formats = {})
{
    return engine::EngineCatalog{std::move(versions), std::move(formats)};
}

TEST(DatabaseComponent, ConstructionFollowsTheInstalledEngines)
{
    EXPECT_EQ(DatabaseErrorOf([] { TTovaskADOBase base("dbFilm", CatalogOf({})); }),
              "Nie odnaleziono DAO w tym systemie!");

    TTovaskADOBase base("dbFilm", CatalogOf({"3.5", "3.6"}, {"dBase 5.0", "Excel 8.0"}));
    EXPECT_EQ(base.DaoVersions(), std::vector<std::string>{"3.6"});  // 3.5 is not probed
    EXPECT_EQ(base.Version(), "3.6");
    EXPECT_EQ(base.IsamFormats(), (std::vector<std::string>{"Access", "ODBC", "dBase 5.0", "Excel 8.0"}));
}

TEST(DatabaseComponent, VersionSetterKeepsThreeCharactersAndFallsBackToTheNewerEngine)
{
    TTovaskADOBase base("dbFilm", CatalogOf({"3.6"}));
    base.SetVersion("3.60");
    EXPECT_EQ(base.Version(), "3.6");
    base.SetVersion("3.5");
    EXPECT_EQ(base.Version(), "3.6");
    ASSERT_NE(base.Engine(), nullptr);
    EXPECT_EQ(base.Engine()->workspaces().size(), 1u);

    // A version that cannot be created leaves the component on the one that worked.
    EXPECT_EQ(DatabaseErrorOf([&] { base.SetVersion("4.0"); }),
              "You does not have Microsoft DAO installed ot it is an OLD Version!");
    EXPECT_EQ(base.Version(), "3.6");
    EXPECT_NE(base.Engine(), nullptr);
    EXPECT_NE(base.Workspace(), nullptr);
    EXPECT_EQ(base.IsamFormats(), (std::vector<std::string>{"Access", "ODBC"}));
}

TEST(DatabaseComponent, ConnectionStringGivesDataBase)
{
    TTovaskADOBase base("dbFilm");
    base.SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Mode=ReadWrite;Data Source=/kat/filmy.mdb");
    EXPECT_EQ(base.DataBase(), "/kat/filmy.mdb");
    base.SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Mode=ReadWrite");
    EXPECT_EQ(base.DataBase(), "/kat/filmy.mdb");
    base.SetConnectionString("Mode=ReadWrite;Data Source=\"/kat/a;b/filmy.mdb\"");
    EXPECT_EQ(base.DataBase(), "/kat/a;b/filmy.mdb");
}

TEST_F(LoansCatalogue, WhileConnectedVersionAndConnectionStringAreRefused)
{
    const std::string before = dbFilm.ConnectionString();
    EXPECT_EQ(DatabaseErrorOf([&] { dbFilm.SetVersion("3.5"); }), "Baza jest otwarta.");
    EXPECT_ANY_THROW(dbFilm.SetConnectionString("Data Source=/elsewhere.mdb"));
    EXPECT_EQ(dbFilm.ConnectionString(), before);
    EXPECT_EQ(dbFilm.DataBase(), path);
}

TEST_F(LoansCatalogue, ClosingTheConnectionClosesItsTablesButNotClones)
{
    mdbFilmy.Open();
    mdbClone.Clone(mdbFilmy);
    dbFilm.SetConnected(false);
    EXPECT_FALSE(mdbFilmy.Active());
    EXPECT_TRUE(mdbClone.Active());
    EXPECT_TRUE(dbFilm.DaoDatabase()->isOpen());  // the schema side stays open

    dbFilm.CloseBase();
    EXPECT_FALSE(dbFilm.DaoDatabase()->isOpen());
    mdbClone.Close();
    EXPECT_FALSE(engine::isFileOpenInProcess(path));
}

TEST(DatabaseComponent, CloseBaseWithoutOpenBaseOnlyDisconnects)
{
    TTovaskADOBase base("dbFilm");
    EXPECT_NO_THROW(base.CloseBase());
    EXPECT_FALSE(base.Connected());
}

TEST(ClipboardFormat, CfUczKeepsOneIdentifier)
{
    const std::uint32_t id = TovaskADODB::RegisterCfUczFormat();
    EXPECT_GE(id, 0xC000u);
    EXPECT_EQ(TovaskADODB::RegisterCfUczFormat(), id);
    EXPECT_NE(TovaskADODB::RegisterClipboardFormat("CF_INNY"), id);
}

}  // namespace
