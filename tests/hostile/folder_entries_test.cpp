// Folder entries that only look like catalogues, and catalogues under odd
// names: what the listing keeps, what the run does with it, and that links
// stay links.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "app/files/file_utils.h"
#include "tests/hostile/listing_host.h"
#include "tests/support/catalogue_folder.h"
#include "tests/support/sqlite_file.h"

namespace {

namespace fs = std::filesystem;
using hostile_test::FilmsUpgraded;
using hostile_test::ListingHost;
using hostile_test::RowCount;
using patch::FileOutcome;
using patch_test::CatalogueFolder;
using sample::Level;
using test_support::DumpContent;

TEST(FolderEntries, DirectoriesAndPipesNamedMdbAreNeitherHarmedNorWaitedOn)
{
    CatalogueFolder folder;
    folder.Add("good.mdb", Level::ReadyYesNo, 10, 5);
    fs::create_directory(folder.PathOf("pusty.mdb"));
    fs::create_directory(folder.PathOf("pelny.mdb"));
    folder.Add("pelny.mdb/inside.mdb", Level::ReadyYesNo, 5, 2);
    // A folder nobody may write carries the read-only bit as well and is listed.
    fs::create_directory(folder.PathOf("tylko_odczyt.mdb"));
    fs::permissions(folder.PathOf("tylko_odczyt.mdb"), fs::perms::owner_read | fs::perms::owner_exec);
    // Opening a pipe for reading would wait for a writer for ever.
    ASSERT_EQ(::mkfifo(folder.PathOf("rura.mdb").c_str(), 0600), 0);
    const auto inside = DumpContent(folder.PathOf("pelny.mdb/inside.mdb"));

    const auto host = folder.Upgrade<ListingHost>();

    EXPECT_FALSE(host->Listed("pusty.mdb"));
    EXPECT_FALSE(host->Listed("pelny.mdb"));
    EXPECT_FALSE(host->Listed("rura.mdb"));
    EXPECT_EQ(host->OutcomeOf("tylko_odczyt.mdb"), FileOutcome::Failed);
    EXPECT_EQ(host->OutcomeOf("good.mdb"), FileOutcome::Upgraded);
    EXPECT_TRUE(host->notices.empty());
    EXPECT_TRUE(fs::is_directory(folder.PathOf("tylko_odczyt.mdb")));
    EXPECT_TRUE(fs::is_fifo(folder.PathOf("rura.mdb")));
    EXPECT_EQ(DumpContent(folder.PathOf("pelny.mdb/inside.mdb")), inside) << "sub-folders are not searched";
    fs::permissions(folder.PathOf("tylko_odczyt.mdb"), fs::perms::owner_all);
}

TEST(FolderEntries, LinkToACatalogueStaysALinkAndItsTargetIsUpgraded)
{
    CatalogueFolder source;
    const auto target = source.Add("prawdziwa.mdb", Level::ReadyYesNo, 30, 10);
    CatalogueFolder folder;
    fs::create_symlink(target, folder.PathOf("link.mdb"));
    // A link to a file of the same folder: the file is upgraded first, the link then finds it done.
    folder.Add("a.mdb", Level::ReadyYesNo, 10, 5);
    fs::create_symlink("a.mdb", folder.PathOf("b_alias.mdb"));

    const auto host = folder.Upgrade<ListingHost>();

    EXPECT_EQ(host->OutcomeOf("link.mdb"), FileOutcome::Upgraded);
    ASSERT_TRUE(fs::is_symlink(folder.PathOf("link.mdb")));
    EXPECT_EQ(fs::read_symlink(folder.PathOf("link.mdb")), target);
    EXPECT_TRUE(FilmsUpgraded(target));
    EXPECT_EQ(RowCount(target, "FILMY"), 30);
    EXPECT_EQ(RowCount(target, "WYPOZYCZ"), 10);
    EXPECT_EQ(test_support::IntegrityCheck(target), "ok");

    EXPECT_EQ(host->OutcomeOf("a.mdb"), FileOutcome::Upgraded);
    EXPECT_EQ(host->OutcomeOf("b_alias.mdb"), FileOutcome::AlreadyUpgraded);
    EXPECT_TRUE(fs::is_symlink(folder.PathOf("b_alias.mdb")));
    // Nothing of the compaction is left beside the link or beside its target.
    for (const auto& entry : fs::directory_iterator(source.Folder()))
        EXPECT_EQ(entry.path().filename(), "prawdziwa.mdb");
}

TEST(FolderEntries, DanglingLinkAndLinkToAFolderCreateNothing)
{
    CatalogueFolder folder;
    folder.Add("good.mdb", Level::ReadyYesNo, 10, 5);
    fs::create_symlink(folder.PathOf("nie_ma.mdb"), folder.PathOf("zerwany.mdb"));
    fs::create_directory(folder.PathOf("katalog"));
    fs::create_symlink(folder.PathOf("katalog"), folder.PathOf("do_folderu.mdb"));

    const auto host = folder.Upgrade<ListingHost>();

    EXPECT_EQ(host->OutcomeOf("zerwany.mdb"), FileOutcome::Failed);
    EXPECT_FALSE(fs::exists(folder.PathOf("nie_ma.mdb"))) << "opening must never create the file";
    EXPECT_TRUE(fs::is_symlink(folder.PathOf("zerwany.mdb")));
    EXPECT_FALSE(host->Listed("do_folderu.mdb"));
    EXPECT_TRUE(fs::is_empty(folder.PathOf("katalog")));
    EXPECT_EQ(host->OutcomeOf("good.mdb"), FileOutcome::Upgraded);
    EXPECT_TRUE(host->notices.empty());
}

TEST(FolderEntries, HiddenAndUpperCaseCataloguesAreFoundAndOthersAreNot)
{
    CatalogueFolder folder;
    folder.Add(".ukryta.mdb", Level::ReadyYesNo, 10, 5);
    folder.Add("FILMY.MDB", Level::ReadyLong, 10, 5);
    folder.Add("Kopia.Mdb", Level::ReadyYesNo, 10, 5);
    const auto backup = folder.Add("filmy.mdb.bak", Level::ReadyYesNo, 10, 5);
    const auto before = DumpContent(backup);

    const auto host = folder.Upgrade<ListingHost>();

    ASSERT_EQ(host->files.size(), 3u);
    for (const std::string name : {".ukryta.mdb", "FILMY.MDB", "Kopia.Mdb"}) {
        EXPECT_EQ(host->OutcomeOf(name), FileOutcome::Upgraded) << name;
        EXPECT_TRUE(FilmsUpgraded(folder.PathOf(name))) << name;
    }
    EXPECT_EQ(DumpContent(backup), before);
}

// A line break cannot be carried by the CR LF list: such a catalogue is left
// out of the list and alone, and is not split into names that do not exist.
TEST(FolderEntries, NameWithALineBreakIsNeitherListedNorTouched)
{
    CatalogueFolder folder;
    const auto odd = folder.Add("nowa\nlinia.mdb", Level::ReadyYesNo, 5, 2);
    folder.Add("linia.mdb", Level::ReadyYesNo, 5, 2);
    const auto before = DumpContent(odd);

    const auto host = folder.Upgrade<ListingHost>();

    EXPECT_EQ(host->files, (std::vector<std::string>{"linia.mdb"}));
    EXPECT_EQ(host->OutcomeOf("linia.mdb"), FileOutcome::Upgraded);
    EXPECT_EQ(DumpContent(odd), before);
    EXPECT_EQ(utils::NamesWithLineBreaks(folder.Folder(), "*.mdb"), (std::vector<std::string>{"nowa\nlinia.mdb"}));
}

// Most files are already upgraded, which costs an open and a check each; every tenth needs
// the whole upgrade. A handle left open per file would run out long before the end.
TEST(FolderEntries, TwoHundredCataloguesInOneFolderAreAllTreated)
{
    CatalogueFolder folder;
    constexpr int kFiles = 200;
    const auto ready = folder.Add("k1000.mdb", Level::ReadyYesNo, 3, 2);
    const auto done = folder.Add("k1001.mdb", Level::Upgraded, 3, 2);
    for (int i = 2; i < kFiles; ++i)
        fs::copy_file(i % 10 == 0 ? ready : done, folder.PathOf("k" + std::to_string(1000 + i) + ".mdb"));
    const auto doneBefore = DumpContent(done);

    const auto host = folder.Upgrade<ListingHost>();

    ASSERT_EQ(host->files.size(), static_cast<std::size_t>(kFiles));
    EXPECT_EQ(host->files.front(), "k1000.mdb");
    EXPECT_EQ(host->files.back(), "k1199.mdb");
    EXPECT_EQ(std::count(host->ticks.begin(), host->ticks.end(), true), kFiles);
    for (int i = 0; i < kFiles; ++i) {
        const auto expected = i % 10 == 0 ? FileOutcome::Upgraded : FileOutcome::AlreadyUpgraded;
        EXPECT_EQ(host->outcomes.at(static_cast<std::size_t>(i)), expected) << i;
    }
    EXPECT_TRUE(FilmsUpgraded(folder.PathOf("k1190.mdb")));
    EXPECT_EQ(RowCount(folder.PathOf("k1190.mdb"), "FILMY"), 3);
    EXPECT_EQ(DumpContent(folder.PathOf("k1199.mdb")), doneBefore);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Folder()), fs::directory_iterator()), kFiles);
}

}  // namespace
