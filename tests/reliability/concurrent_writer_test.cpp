// Another program commits small inserts into a side table of a catalogue every
// few milliseconds while the command-line runner upgrades the folder: every
// insert that program saw committed is in the upgraded file, and the file is
// sound.

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
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/patch/catalogue_folder.h"
#include "tests/patch/file_content.h"
#include "tests/reliability/sanitized_build.h"

namespace {

// A child process that, until stopped, opens the file, begins a write, inserts
// the next number into NOTATKI, commits and closes, every few milliseconds. It
// reports each number whose commit succeeded; failures (a busy file, a file
// replaced under it) are what such a program sees and tries again after.
class SideTableWriter {
public:
    explicit SideTableWriter(const std::string& path)
    {
        int report[2];
        int stop[2];
        if (::pipe(report) != 0 || ::pipe(stop) != 0) throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ < 0) throw std::runtime_error("fork");
        if (pid_ == 0) {
            ::close(report[0]);
            ::close(stop[1]);
            Write(path, report[1], stop[0]);
            _exit(0);
        }
        ::close(report[1]);
        ::close(stop[0]);
        report_ = report[0];
        stop_ = stop[1];
    }
    ~SideTableWriter() { Stop(); }
    SideTableWriter(const SideTableWriter&) = delete;
    SideTableWriter& operator=(const SideTableWriter&) = delete;

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
    static void Write(const std::string& path, int report, int stop)
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
                const std::string insert = "INSERT INTO NOTATKI VALUES (" + std::to_string(number) + ")";
                if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK) {
                    const auto taken = std::chrono::steady_clock::now();
                    if (sqlite3_exec(db, insert.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK &&
                        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK)
                        (void)!::write(report, &number, sizeof number);
                    else
                        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
                    held = std::chrono::steady_clock::now() - taken;
                }
            }
            sqlite3_close(db);
            // The file stays free at least twice as long as it was held.
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
    patch_test::ExecuteSql(path, "CREATE TABLE NOTATKI (N INTEGER)");

    SideTableWriter writer(path);
    ASSERT_GT(writer.First(), 0);
    const std::string command = std::string(VK_PATCH_CLI) + " '" + folder.Folder() + "' 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string output;
    std::array<char, 4096> buffer{};
    while (const auto read = fread(buffer.data(), 1, buffer.size(), pipe.get())) output.append(buffer.data(), read);
    const int status = pclose(pipe.release());
    const auto& committed = writer.Stop();

    EXPECT_EQ(status, 0) << output;  // upgraded and compacted
    EXPECT_EQ(patch_test::IntegrityCheck(path), "ok");
    std::set<int> stored;
    for (const auto& row : patch_test::QueryRows(path, "SELECT N FROM NOTATKI")) stored.insert(std::stoi(*row.at(0)));
    for (const int number : committed) EXPECT_TRUE(stored.contains(number)) << "insert " << number << " was lost";
}

}  // namespace
