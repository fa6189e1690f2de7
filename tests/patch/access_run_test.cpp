// Catalogues in the Access format in the run: converted, upgraded and put in
// their file's place in one step, the original kept byte for byte beside them.

#include <gtest/gtest.h>

#include <fcntl.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "patch/access_move.h"
#include "patch/failure_cause.h"
#include "tests/support/catalogue_folder.h"
#include "tests/support/holding_process.h"

namespace patch_test {
namespace {

using patch::FileOutcome;
using sample::Level;

namespace fs = std::filesystem;

const std::string kConversionNotice = "Wystąpił nieznany błąd konwersji dla bazy: %s tabela: FILMY";

std::string ConversionNotice(const std::string& fileName)
{
    std::string text = kConversionNotice;
    text.replace(text.find("%s"), 2, fileName);
    return text;
}

// Whatever the run leaves in the folder besides the given names.
std::vector<std::string> OtherEntries(const std::string& folder, const std::vector<std::string>& known)
{
    std::vector<std::string> others;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const auto name = entry.path().filename().string();
        if (std::find(known.begin(), known.end(), name) == known.end()) others.push_back(name);
    }
    return others;
}

std::size_t IndexOf(const RecordingHost& host, const std::string& name)
{
    const auto found = std::find(host.files.begin(), host.files.end(), name);
    return static_cast<std::size_t>(found - host.files.begin());
}

Rows TableRows(const std::string& path, const std::string& table)
{
    return QueryRows(path, "SELECT * FROM " + table + " ORDER BY 1");
}

TEST(AccessRun, EveryLevelBesideItsTwinInTheCatalogueFormatEndsAsTheTwinDoes)
{
    CatalogueFolder folder;
    std::vector<std::string> names;
    std::map<std::string, std::string> before;
    for (const Level level : sample::AllLevels()) {
        const std::string name(sample::LevelName(level));
        folder.Add(name + ".mdb", level, 12, 5);
        before[name + "-access.mdb"] = FileBytes(folder.AddAccess(name + "-access.mdb", level, 12, 5));
        names.push_back(name + ".mdb");
        names.push_back(name + "-access.mdb");
    }
    const auto host = folder.Upgrade();

    std::vector<std::string> kept;
    for (const Level level : sample::AllLevels()) {
        const std::string name(sample::LevelName(level));
        const auto twin = IndexOf(*host, name + ".mdb");
        const auto moved = IndexOf(*host, name + "-access.mdb");
        SCOPED_TRACE(name);
        ASSERT_LT(moved, host->files.size());
        EXPECT_EQ(host->outcomes[moved], host->outcomes[twin]);
        EXPECT_EQ(host->ticks[moved], host->ticks[twin]);
        const auto path = folder.PathOf(name + "-access.mdb");
        const auto keptPath = folder.PathOf(patch::KeptOriginalName(name + "-access.mdb"));
        switch (host->outcomes[twin]) {
        case FileOutcome::Upgraded:
        case FileOutcome::AlreadyUpgraded:
        case FileOutcome::UpgradedWithoutLoans:
            EXPECT_EQ(host->keptNames[moved], patch::KeptOriginalName(name + "-access.mdb"));
            EXPECT_TRUE(FileBytes(keptPath) == before[name + "-access.mdb"]) << keptPath;
            EXPECT_EQ(IntegrityCheck(path), "ok");
            EXPECT_EQ(TableRows(path, "FILMY"), TableRows(folder.PathOf(name + ".mdb"), "FILMY"));
            if (host->outcomes[twin] != FileOutcome::UpgradedWithoutLoans) {
                EXPECT_EQ(TableRows(path, "WYPOZYCZ"), TableRows(folder.PathOf(name + ".mdb"), "WYPOZYCZ"));
            }
            kept.push_back(patch::KeptOriginalName(name + "-access.mdb"));
            break;
        default:
            // Left as it was, with nothing beside it.
            EXPECT_EQ(host->keptNames[moved], "");
            EXPECT_TRUE(FileBytes(path) == before[name + "-access.mdb"]) << path;
            EXPECT_FALSE(fs::exists(keptPath));
        }
    }
    // Four levels are moved; the private folders are gone.
    EXPECT_EQ(kept.size(), 4U);
    names.insert(names.end(), kept.begin(), kept.end());
    EXPECT_EQ(OtherEntries(folder.Folder(), names), std::vector<std::string>{});
    // The kept originals are not taken for catalogues by the next run.
    const auto again = folder.Upgrade();
    EXPECT_EQ(again->files.size(), host->files.size());
}

TEST(AccessRun, ProgressMovesAndInputIsHandledWhileTheFileIsConverted)
{
    CatalogueFolder folder;
    folder.AddAccess("a.mdb", Level::ReadyYesNo, 700, 300);
    RecordingHost host(folder.Folder());
    int maximumDuringConversion = -1;
    int positionsSeen = 0;
    int lastPosition = -1;
    host.onPendingMessages = [&] {
        if (host.conversionsStarted == 1 && maximumDuringConversion < 0) maximumDuringConversion = host.progressMaximum;
        if (host.progressPosition != lastPosition) {
            ++positionsSeen;
            lastPosition = host.progressPosition;
        }
    };
    patch::RunPatch(host);
    EXPECT_EQ(host.outcomes.at(0), FileOutcome::Upgraded);
    EXPECT_EQ(host.conversionsStarted, 1);
    // Every row of every table counts: films, loans and the people.
    EXPECT_GT(maximumDuringConversion, 1000);
    EXPECT_GT(positionsSeen, 3);
}

TEST(AccessRun, KeptNameTakenRefusesTheFileAndOverwritesNothing)
{
    CatalogueFolder folder;
    const auto path = folder.AddAccess("a.mdb", Level::ReadyYesNo);
    const auto keptPath = folder.PathOf(patch::KeptOriginalName("a.mdb"));
    std::ofstream(keptPath) << "moje notatki";
    const auto before = FileBytes(path);

    const auto host = folder.Upgrade();
    EXPECT_EQ(host->outcomes.at(0), FileOutcome::ConversionError);
    EXPECT_FALSE(host->ticks.at(0));
    ASSERT_EQ(host->notices.size(), 2U);
    EXPECT_EQ(host->notices[1].text, ConversionNotice("a.mdb"));
    EXPECT_NE(host->causes.at(0).find("a.mdb.oryginal-access"), std::string::npos) << host->causes.at(0);
    EXPECT_TRUE(FileBytes(path) == before) << path;
    EXPECT_TRUE(FileBytes(keptPath) == "moje notatki") << keptPath;
    EXPECT_EQ(OtherEntries(folder.Folder(), {"a.mdb", "a.mdb.oryginal-access"}), std::vector<std::string>{});
}

// A cut between the two steps leaves the upgraded catalogue under the kept name
// and the original under its own: the next run finishes the move, and gives way
// to no other catalogue under that name.
TEST(AccessRun, CatalogueLeftUnderTheKeptNameGivesWayOnlyWhenItIsExactlyTheNewOne)
{
    CatalogueFolder twin;
    twin.AddAccess("a.mdb", Level::ReadyYesNo, 40, 10);
    twin.Upgrade();
    const auto upgraded = FileBytes(twin.PathOf("a.mdb"));

    CatalogueFolder folder;
    const auto path = folder.AddAccess("a.mdb", Level::ReadyYesNo, 40, 10);
    const auto original = FileBytes(path);
    const auto keptPath = folder.PathOf(patch::KeptOriginalName("a.mdb"));
    {
        std::ofstream(keptPath, std::ios::binary) << upgraded;
    }
    auto host = folder.Upgrade();
    EXPECT_EQ(host->outcomes.at(0), FileOutcome::Upgraded) << host->causes.at(0);
    EXPECT_TRUE(FileBytes(path) == upgraded);
    EXPECT_TRUE(FileBytes(keptPath) == original);
    EXPECT_EQ(OtherEntries(folder.Folder(), {"a.mdb", "a.mdb.oryginal-access"}), std::vector<std::string>{});

    // A catalogue of other content under that name: the user's, kept.
    CatalogueFolder other;
    const auto otherPath = other.AddAccess("a.mdb", Level::ReadyYesNo, 40, 10);
    const auto otherKept = other.PathOf(patch::KeptOriginalName("a.mdb"));
    std::string changed = upgraded;
    changed[changed.size() - 1] ^= 1;
    {
        std::ofstream(otherKept, std::ios::binary) << changed;
    }
    host = other.Upgrade();
    EXPECT_EQ(host->outcomes.at(0), FileOutcome::ConversionError);
    EXPECT_TRUE(FileBytes(otherPath) == original);
    EXPECT_TRUE(FileBytes(otherKept) == changed);
    EXPECT_EQ(OtherEntries(other.Folder(), {"a.mdb", "a.mdb.oryginal-access"}), std::vector<std::string>{});
}

TEST(AccessRun, OriginalChangedWhileItWasConvertedIsLeftAsTheOtherProgramMadeIt)
{
    CatalogueFolder folder;
    const auto path = folder.AddAccess("a.mdb", Level::ReadyYesNo, 600, 10);
    RecordingHost host(folder.Folder());
    bool written = false;
    std::string changed;
    host.onPendingMessages = [&] {
        if (written || host.conversionsStarted == 0) return;
        // The other program writes a page while the run converts.
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(4096 * 3 + 100);
        file.put('\x5A');
        file.close();
        changed = FileBytes(path);
        written = true;
    };
    patch::RunPatch(host);
    ASSERT_TRUE(written);
    EXPECT_EQ(host.outcomes.at(0), FileOutcome::ConversionError);
    EXPECT_NE(host.causes.at(0).find("inny program zmienił lub otworzył plik"), std::string::npos) << host.causes.at(0);
    EXPECT_TRUE(FileBytes(path) == changed) << path;
    EXPECT_EQ(OtherEntries(folder.Folder(), {"a.mdb"}), std::vector<std::string>{});
}

// The kept name is the file's and a little more: one the file system cannot
// hold refuses the file, with a cause that says so.
TEST(AccessRun, NameTooLongToKeepTheOriginalBesideRefusesTheFile)
{
    CatalogueFolder folder;
    const std::string name = std::string(240, 'k') + ".mdb";
    const auto path = folder.PathOf(name);
    fs::rename(folder.AddAccess("a.mdb", Level::ReadyYesNo, 5, 2), path);
    const auto before = FileBytes(path);
    const auto host = folder.Upgrade();
    EXPECT_EQ(host->outcomes.at(0), FileOutcome::ConversionError);
    EXPECT_EQ(host->causes.at(0), patch::KeptNameTooLongCause());
    EXPECT_TRUE(FileBytes(path) == before);
    EXPECT_EQ(OtherEntries(folder.Folder(), {name}), std::vector<std::string>{});
}

// Open in the other program: its lock file holds a live lock. A lock file left
// behind without a lock is no sign of use.
TEST(AccessRun, FileOpenInTheOtherProgramIsRefusedUntilItIsClosed)
{
    CatalogueFolder folder;
    const auto path = folder.AddAccess("a.mdb", Level::ReadyYesNo);
    const auto before = FileBytes(path);
    const auto lock = folder.PathOf("a.ldb");
    std::ofstream(lock) << "";
    {
        test_support::HoldingProcess other([&] {
            const int fd = ::open(lock.c_str(), O_RDWR);
            struct flock range {};
            range.l_type = F_WRLCK;
            range.l_whence = SEEK_SET;
            range.l_start = 0x10000000;
            range.l_len = 1;
            return fd >= 0 && ::fcntl(fd, F_SETLK, &range) == 0;
        });
        ASSERT_TRUE(other.held());
        const auto host = folder.Upgrade();
        EXPECT_EQ(host->outcomes.at(0), FileOutcome::ConversionError);
        EXPECT_NE(host->causes.at(0).find("otwarty w innym programie"), std::string::npos) << host->causes.at(0);
        EXPECT_TRUE(FileBytes(path) == before) << path;
        EXPECT_EQ(OtherEntries(folder.Folder(), {"a.mdb", "a.ldb"}), std::vector<std::string>{});
    }
    const auto host = folder.Upgrade();
    EXPECT_EQ(host->outcomes.at(0), FileOutcome::Upgraded);
    EXPECT_TRUE(FileBytes(path + ".oryginal-access") == before);
}

TEST(AccessRun, LeftoverOfAKilledConversionIsRemovedOnlyWhenNoRunHoldsIt)
{
    CatalogueFolder folder;
    folder.AddAccess("a.mdb", Level::ReadyYesNo);
    // A killed run's folder, with what it held, nested.
    const fs::path stale = fs::path(folder.Folder()) / ".vidarkon-konwersja-Ab12Cd";
    fs::create_directories(stale / ".vidarkon-kompaktowanie-Xy34Zw");
    std::ofstream(stale / "katalog") << "połowa";
    std::ofstream(stale / ".vidarkon-kompaktowanie-Xy34Zw" / "kopia") << "x";
    fs::permissions(stale, fs::perms::owner_all, fs::perm_options::replace);
    // Not a conversion's by its mode: someone else's, kept.
    const fs::path foreign = fs::path(folder.Folder()) / ".vidarkon-konwersja-Ef56Gh";
    fs::create_directories(foreign);
    fs::permissions(foreign, fs::perms::owner_all | fs::perms::group_read, fs::perm_options::replace);

    const auto host = folder.Upgrade();
    EXPECT_EQ(host->outcomes.at(0), FileOutcome::Upgraded);
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(foreign));
}

TEST(AccessRun, FileThatCannotBeReadIsSkippedWithItsCauseAndLeftAsItWas)
{
    CatalogueFolder folder;
    const auto path = folder.AddAccess("a.mdb", Level::ReadyYesNo, 200, 10);
    auto bytes = FileBytes(path);
    bytes.resize(bytes.size() / 2);  // cut short
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;

    const auto host = folder.Upgrade();
    EXPECT_EQ(host->outcomes.at(0), FileOutcome::Failed);
    EXPECT_TRUE(host->notices.empty());
    EXPECT_NE(host->causes.at(0).find("uszkodzon"), std::string::npos) << host->causes.at(0);
    EXPECT_TRUE(FileBytes(path) == bytes) << path;
    EXPECT_EQ(OtherEntries(folder.Folder(), {"a.mdb"}), std::vector<std::string>{});
}

}  // namespace
}  // namespace patch_test
