// Compaction replaces the file atomically: the original survives every failure
// byte for byte and no temporary file is left behind.

#include "component_fixture.h"

using namespace components_test;
using TovaskADODB::TTovaskADOBase;

namespace {

class Compaction : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeLoansCatalogue(path);
        // Leave free pages behind so that the compacted copy differs from the original.
        MakeCatalogue(path,
                      "CREATE TABLE Ballast (X MEMO);"
                      "INSERT INTO Ballast VALUES (hex(randomblob(100000)));"
                      "DELETE FROM Ballast;");
        original = ReadBytes(path);
    }

    void ExpectOriginalUntouched()
    {
        EXPECT_EQ(ReadBytes(path), original);
        EXPECT_EQ(folder.entries(), std::vector<std::string>{"filmy.mdb"});
    }

    TempFolder folder;
    std::string path = folder.file("filmy.mdb");
    std::string original;
    TTovaskADOBase dbFilm{"dbFilm"};
};

TEST_F(Compaction, ReplacesTheFileWithItsCompactedCopy)
{
    dbFilm.Compact(path, "");
    EXPECT_LT(ReadBytes(path).size(), original.size());
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"filmy.mdb"});
    EXPECT_EQ(QueryColumn(path, "SELECT ID FROM WYPOZYCZ ORDER BY ID"), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(StoredIndexNames(path, "WYPOZYCZ").size(), 5u);
}

TEST_F(Compaction, BareFileNameWorksInTheCurrentDirectory)
{
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    EXPECT_NO_THROW(dbFilm.Compact("filmy.mdb", ""));
    std::filesystem::current_path(previous);
    EXPECT_LT(ReadBytes(path).size(), original.size());
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"filmy.mdb"});
}

TEST_F(Compaction, MissingFileFailsAndLeavesNothing)
{
    EXPECT_ANY_THROW(dbFilm.Compact(folder.file("brak.mdb"), ""));
    ExpectOriginalUntouched();
}

TEST_F(Compaction, FileStillOpenInTheProcessIsNotReplaced)
{
    dbFilm.SetConnectionString(ConnectionStringFor(path));
    dbFilm.OpenBase();
    EXPECT_EQ(DatabaseErrorOf([&] { dbFilm.Compact(path, ""); }), "Baza jest otwarta.");
    dbFilm.CloseBase();
    ExpectOriginalUntouched();
    // Once closed, the same call goes through.
    dbFilm.Compact(path, "");
    EXPECT_LT(ReadBytes(path).size(), original.size());
}

}  // namespace
