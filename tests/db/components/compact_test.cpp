// Compaction replaces the file atomically: the original survives every failure
// byte for byte, no temporary file is left behind, and nobody else can redirect
// the copy. A later run removes what a killed compaction left, and nothing else.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <functional>
#include <map>
#include <stdexcept>

#include "component_fixture.h"
#include "db/TovaskADODB/compaction_folder.h"
#include "tests/support/holding_process.h"
#include "tests/support/temp_folder.h"

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

// A child process holding a lock on a folder, as a running compaction does, until destroyed.
class FolderLockingProcess : public test_support::HoldingProcess {
public:
    explicit FolderLockingProcess(const std::string& folder)
        : HoldingProcess([&] {
              const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
              return fd >= 0 && ::flock(fd, LOCK_EX) == 0;
          })
    {
    }
    bool locked() const { return held(); }
};

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

// What a killed compaction leaves is its folder, empty or with the copy and the
// copy's journal; it is removed. Anything that is not beyond doubt such a
// leftover stays as it is.
TEST(StaleCompactionFolders, OnlyLeftoversOfKilledCompactionsAreRemoved)
{
    TempFolder folder;
    const auto make = [&](const std::string& name, const std::vector<std::string>& files, mode_t mode = 0700) {
        const auto path = folder / name;
        std::filesystem::create_directory(path);
        for (const auto& file : files) std::ofstream(path / file) << "kopia";
        ::chmod(path.c_str(), mode);
        return path.string();
    };
    make(".vidarkon-kompaktowanie-a1B2c3", {});
    make(".vidarkon-kompaktowanie-D4e5F6", {"kopia"});
    make(".vidarkon-kompaktowanie-g7H8i9", {"kopia", "kopia-journal"});
    std::vector<std::string> kept = {
        make(".vidarkon-kompaktowanie-J0k1L2", {"kopia", "notatki.txt"}),  // holds something else
        make(".vidarkon-kompaktowanie-m3N4o5", {"kopia"}, 0755),           // another mode
        make(".vidarkon-kompaktowanie-p6Q7", {"kopia"}),                   // another name
        make("vidarkon-kompaktowanie-r8S9t0", {"kopia"}),
        make("cudzy", {"kopia"}),
    };
    std::filesystem::create_directory_symlink("cudzy", folder / ".vidarkon-kompaktowanie-u1V2w3");
    std::ofstream(folder / ".vidarkon-kompaktowanie-x4Y5z6") << "a file, not a folder";
    kept.push_back(folder.file(".vidarkon-kompaktowanie-u1V2w3"));
    kept.push_back(folder.file(".vidarkon-kompaktowanie-x4Y5z6"));
    const auto live = make(".vidarkon-kompaktowanie-L1v3C0", {"kopia"});
    kept.push_back(live);
    if (::geteuid() == 0) {
        const auto foreign = make(".vidarkon-kompaktowanie-N0b0dY", {"kopia"});
        ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
        kept.push_back(foreign);
    }
    std::map<std::string, std::vector<std::string>> before;
    for (const auto& path : kept)
        if (std::filesystem::is_directory(path)) before[path] = test_support::SortedEntries(path);

    {
        FolderLockingProcess running(live);
        ASSERT_TRUE(running.locked());
        TovaskADODB::RemoveStaleCompactionFolders(folder.folder());
    }

    std::vector<std::string> names;
    for (const auto& path : kept) names.push_back(std::filesystem::path(path).filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(folder.entries(), names);
    for (const auto& [path, entries] : before) EXPECT_EQ(test_support::SortedEntries(path), entries) << path;
}

}  // namespace
