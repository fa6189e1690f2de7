// Another program commits small inserts into a catalogue every few
// milliseconds while the command-line runner upgrades the folder: every insert
// that program saw committed is in the upgraded file, and the file is sound.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/reliability/sanitized_build.h"
#include "tests/support/catalogue_folder.h"
#include "tests/support/command_run.h"
#include "tests/support/sqlite_file.h"

namespace {

// The command-line runner over folder.
test_support::CommandResult RunCli(const std::string& folder)
{
    return test_support::RunCommand(std::string(VK_PATCH_CLI) + " " + test_support::ShellQuoted(folder));
}

// A child process that, until stopped, opens the file, begins a write, runs
// the insert of the next number, keeps the write open for `hold`, commits and
// closes, and rests (by default twice as long as it held the file). It reports each number whose commit
// succeeded; failures (a busy file, a file replaced under it) are what such a
// program sees and tries again after.
class CommittingWriter {
public:
    using InsertOf = std::function<std::string(int)>;

    CommittingWriter(const std::string& path, const InsertOf& insertOf,
                     std::chrono::milliseconds hold = std::chrono::milliseconds(0),
                     std::optional<std::chrono::milliseconds> rest = std::nullopt)
    {
        int report[2];
        int stop[2];
        if (::pipe(report) != 0 || ::pipe(stop) != 0) throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ < 0) throw std::runtime_error("fork");
        if (pid_ == 0) {
            ::close(report[0]);
            ::close(stop[1]);
            Write(path, insertOf, hold, rest, report[1], stop[0]);
            _exit(0);
        }
        ::close(report[1]);
        ::close(stop[0]);
        report_ = report[0];
        stop_ = stop[1];
    }
    ~CommittingWriter() { Stop(); }
    CommittingWriter(const CommittingWriter&) = delete;
    CommittingWriter& operator=(const CommittingWriter&) = delete;

    // Waits for the first committed insert.
    int First()
    {
        int number = 0;
        if (::read(report_, &number, sizeof number) == sizeof number) committed_.push_back(number);
        return number;
    }

    // Stops the writer; the numbers whose commit it saw succeed.
    const std::vector<int>& Stop()
    {
        if (pid_ < 0) return committed_;
        ::close(stop_);
        int number = 0;
        while (::read(report_, &number, sizeof number) == sizeof number) committed_.push_back(number);
        ::close(report_);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return committed_;
    }

private:
    static void Write(const std::string& path, const InsertOf& insertOf, std::chrono::milliseconds hold,
                      std::optional<std::chrono::milliseconds> rest, int report, int stop)
    {
        for (int number = 1;; ++number) {
            pollfd stopped{stop, POLLIN, 0};
            if (::poll(&stopped, 1, 0) > 0) return;  // the parent closed its end
            std::chrono::steady_clock::duration held{};
            sqlite3* db = nullptr;
            if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
                sqlite3_busy_timeout(db, 100);
                // Unsynced commits keep the file only briefly: the runner's own wait
                // for the file must not run out on a slow machine.
                sqlite3_exec(db, "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
                const std::string insert = insertOf(number);
                if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK) {
                    const auto taken = std::chrono::steady_clock::now();
                    const bool inserted = sqlite3_exec(db, insert.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
                    std::this_thread::sleep_for(hold);
                    if (inserted && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK)
                        (void)!::write(report, &number, sizeof number);
                    else
                        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
                    held = std::chrono::steady_clock::now() - taken;
                }
            }
            sqlite3_close(db);
            // Unless told otherwise, the file stays free at least twice as long as it was held.
            if (rest)
                std::this_thread::sleep_for(*rest);
            else
                std::this_thread::sleep_for(
                    std::max<std::chrono::steady_clock::duration>(std::chrono::milliseconds(5), 2 * held));
        }
    }

    pid_t pid_ = -1;
    int report_ = -1;
    int stop_ = -1;
    std::vector<int> committed_;
};

TEST(ConcurrentWriter, EveryCommitOfAnotherProgramIsInTheUpgradedFile)
{
    patch_test::CatalogueFolder folder;
    const int films = reliability::kSanitizedBuild ? 1500 : 4000;
    const auto path = folder.Add("a.mdb", sample::Level::ReadyYesNo, films, films / 2);
    test_support::ExecuteSql(path, "CREATE TABLE NOTATKI (N INTEGER)");

    CommittingWriter writer(path, [](int n) { return "INSERT INTO NOTATKI VALUES (" + std::to_string(n) + ")"; });
    ASSERT_GT(writer.First(), 0);
    const auto [status, output] = RunCli(folder.Folder());
    const auto& committed = writer.Stop();

    EXPECT_EQ(status, 0) << output;  // upgraded and compacted
    EXPECT_EQ(test_support::IntegrityCheck(path), "ok");
    std::set<int> stored;
    for (const auto& row : test_support::QueryRows(path, "SELECT N FROM NOTATKI")) stored.insert(std::stoi(*row.at(0)));
    for (const int number : committed) EXPECT_TRUE(stored.contains(number)) << "insert " << number << " was lost";
}

// Films committed by another program while the run begins are all carried:
// the run reads the films table only once it holds the file. The writer keeps
// each insert open twice as long as it rests, so that the run's first look at
// a file mostly falls inside one; two catalogues make a run that misses such a
// film likely to meet it in one of them. The rests are long enough for the
// run's own wait for the file to catch one.
TEST(ConcurrentWriter, EveryFilmAnotherProgramCommittedIsInTheUpgradedTable)
{
    patch_test::CatalogueFolder folder;
    const int films = reliability::kSanitizedBuild ? 500 : 2000;
    const std::string paths[] = {folder.Add("a.mdb", sample::Level::ReadyYesNo, films, 10),
                                 folder.Add("b.mdb", sample::Level::ReadyYesNo, films, 10)};
    const auto insertFilm = [](int n) {
        return "INSERT INTO FILMY (ID_CD, T_ORG, JEST) VALUES (" + std::to_string(1000000 + n) + ", 'Nowy', 1)";
    };
    std::vector<std::unique_ptr<CommittingWriter>> writers;
    for (const auto& path : paths) {
        writers.push_back(std::make_unique<CommittingWriter>(path, insertFilm, std::chrono::milliseconds(40),
                                                             std::chrono::milliseconds(20)));
        ASSERT_GT(writers.back()->First(), 0);
    }
    const auto [status, output] = RunCli(folder.Folder());
    // The later writer holds the earlier one's pipe ends (it was forked after it): stopped first.
    std::vector<std::vector<int>> committedTo(writers.size());
    for (std::size_t i = writers.size(); i-- > 0;) committedTo[i] = writers[i]->Stop();
    for (std::size_t i = 0; i < writers.size(); ++i) {
        const auto& committed = committedTo[i];
        const auto& path = paths[i];
        EXPECT_EQ(test_support::IntegrityCheck(path), "ok");
        ASSERT_EQ(
            test_support::QueryRows(path, "SELECT count(*) FROM pragma_table_info('FILMY') WHERE name = 'T_ORG_S'")
                .at(0)
                .at(0),
            "1")
            << output;
        // Carried films have the old key in FILM_ID and ID_CD; films the writer
        // added after the upgrade have it in ID_CD.
        std::set<int> stored;
        for (const auto& row : test_support::QueryRows(path, "SELECT ID_CD FROM FILMY WHERE ID_CD >= 1000000"))
            stored.insert(std::stoi(*row.at(0)) - 1000000);
        for (const int number : committed)
            EXPECT_TRUE(stored.contains(number)) << path << ": film " << number << " was lost\n" << output;
    }
}

}  // namespace
