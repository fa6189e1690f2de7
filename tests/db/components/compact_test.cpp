// Compaction replaces the file atomically: the original survives every failure
// byte for byte, no temporary file is left behind, and nobody else can redirect
// the copy. A later run removes what a killed compaction left, and nothing else.

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/inotify.h>
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
#include "db/engine/engine_error.h"
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
        original = FileBytes(path);
    }

    void ExpectOriginalUntouched()
    {
        EXPECT_EQ(FileBytes(path), original);
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
    EXPECT_LT(FileBytes(path).size(), original.size());
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
    EXPECT_LT(FileBytes(path).size(), original.size());
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
    EXPECT_LT(FileBytes(path).size(), original.size());
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
    EXPECT_LT(FileBytes(path).size(), original.size());
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"filmy.mdb"});
}

// The copy is there, empty, with the catalogue's mode, before SQLite writes a
// byte into it: the umask and SQLite's own choice for new files play no part.
TEST_F(Compaction, CopyHasTheCataloguesModeBeforeItsFirstByte)
{
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const mode_t umask = ::umask(0);  // SQLite would make a new file 0644
    {
        TovaskADODB::CompactionFolder temporary(folder.path(), "filmy.mdb");
        struct stat copy {};
        ASSERT_EQ(::stat(temporary.CopyPath().c_str(), &copy), 0);
        EXPECT_TRUE(S_ISREG(copy.st_mode));
        EXPECT_EQ(copy.st_size, 0);
        EXPECT_EQ(copy.st_mode & 07777, 0640u);
    }
    ::umask(umask);
    ExpectOriginalUntouched();  // the folder went with its copy
}

// The catalogue lies in a folder that others may write to without the sticky
// bit (a group folder): another user may rename the compaction's folder, which
// needs no right on it, and put a link under its name. The link leads to his
// own folder, or to one of root's that holds files named as the copy and its
// journal.
class CompactionInASharedFolder : public Compaction {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0) GTEST_SKIP() << "acting as a second user needs root";
        if (AsAnotherUser([] { return 0; }) != 0) GTEST_SKIP() << "cannot switch to the user 65534 (nobody)";
        Compaction::SetUp();
        ASSERT_EQ(::chmod(folder.path().c_str(), 0777), 0);
        ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
        ASSERT_EQ(::chown(his.path().c_str(), 65534, 65534), 0);
        ASSERT_EQ(::chmod(his.path().c_str(), 0755), 0);
        std::ofstream(roots / "kopia") << "cudza kopia";
        std::ofstream(roots / "kopia-journal") << "cudzy dziennik";
        ASSERT_EQ(::chmod(roots.path().c_str(), 0755), 0);
    }

    // Nothing went where the links lead, nothing there was removed, and the
    // catalogue is whole, with its mode.
    void ExpectNothingRedirected()
    {
        EXPECT_EQ(his.entries(), std::vector<std::string>{});
        EXPECT_EQ(roots.entries(), (std::vector<std::string>{"kopia", "kopia-journal"}));
        EXPECT_EQ(FileBytes(roots.file("kopia")), "cudza kopia");
        EXPECT_EQ(FileBytes(roots.file("kopia-journal")), "cudzy dziennik");
        struct stat info {};
        ASSERT_EQ(::lstat(path.c_str(), &info), 0);
        EXPECT_TRUE(S_ISREG(info.st_mode));
        EXPECT_EQ(info.st_mode & 07777, 0600u);
        EXPECT_EQ(QueryColumn(path, "SELECT ID FROM WYPOZYCZ ORDER BY ID"), (std::vector<std::string>{"1", "2", "3"}));
    }

    const TempFolder& LinkTarget(int run) const { return run % 2 == 0 ? his : roots; }

    TempFolder his;
    TempFolder roots;
};

TEST_F(CompactionInASharedFolder, SwappingTheFolderForALinkGetsNothing)
{
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE("link to " + LinkTarget(run).path().string());
        const std::string stolen = folder.file("ukradziony");
        std::string link;
        int swapped = -1;
        TovaskADODB::SetCompactionFolderHook([&](const std::string& copyPath) {
            link = std::filesystem::path(copyPath).parent_path().string();
            swapped = AsAnotherUser([&] {
                return ::rename(link.c_str(), stolen.c_str()) == 0 &&
                               ::symlink(LinkTarget(run).path().c_str(), link.c_str()) == 0
                           ? 0
                           : errno;
            });
        });
        const std::string before = FileBytes(path);
        dbFilm.Compact(path, "");
        TovaskADODB::SetCompactionFolderHook({});

        ASSERT_EQ(swapped, 0);  // he can: the folder is shared
        ExpectNothingRedirected();
        if (run == 0) {
            EXPECT_LT(FileBytes(path).size(), before.size());
        }
        // His link stays; the folder he renamed goes with the run, under its new name.
        EXPECT_EQ(folder.entries(),
                  (std::vector<std::string>{std::filesystem::path(link).filename().string(), "filmy.mdb"}));
        std::filesystem::remove(link);
    }
}

// A process of the other user, woken by the folder's appearance, swaps it for a
// link at once or a little later: the compaction goes through or fails, the
// file stays whole, and no folder with anything in it is left behind.
class FolderSwapper {
public:
    FolderSwapper(const std::filesystem::path& shared, const std::filesystem::path& target, int delayMicroseconds)
        : watcher_([&] { return StartWatching(shared); },
                   [&](int release) { return Watch(shared, target, delayMicroseconds, release); })
    {
    }

    bool watching() const { return watcher_.held(); }
    // Ends the watcher; how many folders it swapped.
    int Stop() { return watcher_.Stop(); }

private:
    // In the child: the other user, watching the shared folder.
    bool StartWatching(const std::filesystem::path& shared)
    {
        events_ = ::inotify_init1(IN_CLOEXEC);
        return ::setgid(65534) == 0 && ::setuid(65534) == 0 && events_ >= 0 &&
               ::inotify_add_watch(events_, shared.c_str(), IN_CREATE) >= 0;
    }

    int Watch(const std::filesystem::path& shared, const std::filesystem::path& target, int delayMicroseconds,
              int release) const
    {
        int swaps = 0;
        pollfd waiting[2] = {{events_, POLLIN, 0}, {release, POLLIN, 0}};
        while (::poll(waiting, 2, -1) >= 0 && !(waiting[1].revents & (POLLIN | POLLHUP))) {
            alignas(inotify_event) char buffer[4096];
            const ssize_t length = ::read(events_, buffer, sizeof buffer);
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
                const std::string name = event->len ? event->name : "";
                if (!(event->mask & IN_ISDIR) || !name.starts_with(".vidarkon-kompaktowanie-")) continue;
                if (delayMicroseconds > 0) ::usleep(static_cast<useconds_t>(delayMicroseconds));
                const auto made = shared / name;
                const auto moved = shared / ("ukradziony-" + std::to_string(swaps));
                if (::rename(made.c_str(), moved.c_str()) == 0 && ::symlink(target.c_str(), made.c_str()) == 0) ++swaps;
            }
        }
        return std::min(swaps, 250);
    }

    int events_ = -1;  // the child's
    test_support::HoldingProcess watcher_;
};

TEST_F(CompactionInASharedFolder, AWatcherSwappingTheFolderTheMomentItAppearsGetsNothing)
{
    int swaps = 0;
    int run = 0;
    for (const int delayMicroseconds : {0, 0, 0, 0, 50, 50, 200, 200, 1000, 5000}) {
        SCOPED_TRACE("run " + std::to_string(run) + ", swapped after " + std::to_string(delayMicroseconds) + " µs");
        FolderSwapper swapper(folder.path(), LinkTarget(run).path(), delayMicroseconds);
        ASSERT_TRUE(swapper.watching());
        const std::string before = FileBytes(path);
        bool compacted = true;
        try {
            dbFilm.Compact(path, "");
        } catch (const TovaskADODB::EDatabaseError&) {
            compacted = false;
        } catch (const engine::EngineError&) {
            compacted = false;
        }
        swaps += swapper.Stop();

        ExpectNothingRedirected();
        if (!compacted) {
            EXPECT_EQ(FileBytes(path), before);
        }
        // His links and, where he was quick enough to make the run fail, the
        // empty folder he renamed before it was opened.
        for (const auto& name : folder.entries()) {
            const auto entry = folder / name;
            if (name == "filmy.mdb" || std::filesystem::is_symlink(entry)) continue;
            EXPECT_FALSE(compacted) << name << " left behind";
            EXPECT_TRUE(std::filesystem::is_empty(entry)) << name;
        }
        for (const auto& name : folder.entries())
            if (name != "filmy.mdb") std::filesystem::remove_all(folder / name);
        ++run;
    }
    EXPECT_GT(swaps, 0) << "the watcher never swapped a folder";
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
    // Another user's: the folder, or only the copy in a folder of this user's
    // (each held by its own owner check alone). Giving them away needs root.
    if (::geteuid() == 0) {
        const auto foreign = make(".vidarkon-kompaktowanie-N0b0dY", {"kopia"});
        ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
        kept.push_back(foreign);
        const auto foreignCopy = make(".vidarkon-kompaktowanie-K0p1aN", {"kopia", "kopia-journal"});
        ASSERT_EQ(::chown((foreignCopy + "/kopia-journal").c_str(), 65534, 65534), 0);
        kept.push_back(foreignCopy);
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
