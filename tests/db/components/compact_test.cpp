// Compaction replaces the file atomically: the original survives every failure
// byte for byte, no temporary file is left behind, and nobody else can redirect
// the copy.

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <stdexcept>

#include "component_fixture.h"
#include "db/TovaskADODB/compaction_folder.h"

using namespace components_test;
using TovaskADODB::TTovaskADOBase;

namespace {

// Runs action in a child process as the unprivileged user "nobody" and returns
// its result (0 to 255).
int AsAnotherUser(const std::function<int()>& action)
{
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork");
    if (pid == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) _exit(255);
        _exit(action());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 255;
}

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

// Someone else who may write to the catalogue's folder plants a link where the
// copy is about to be written, at the moment its folder is made: he cannot, and
// the copy takes the catalogue's place.
TEST_F(Compaction, AnotherUserCannotRedirectTheCopy)
{
    if (::geteuid() != 0) GTEST_SKIP() << "acting as a second user needs root";
    TempFolder elsewhere;
    const std::string stolen = elsewhere.file("skradziona.mdb");
    ASSERT_EQ(::chmod(folder.path().c_str(), 0777), 0);  // a shared folder, writable by all
    int planted = -1;
    TovaskADODB::SetCompactionFolderHook([&](const std::string& copyPath) {
        planted = AsAnotherUser([&] { return ::symlink(stolen.c_str(), copyPath.c_str()) == 0 ? 0 : errno; });
    });
    dbFilm.Compact(path, "");
    TovaskADODB::SetCompactionFolderHook({});

    EXPECT_EQ(planted, EACCES);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(stolen)));
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(path)));
    EXPECT_LT(ReadBytes(path).size(), original.size());
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"filmy.mdb"});
}

}  // namespace
