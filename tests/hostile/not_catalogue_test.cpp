// Files named *.mdb that are not sound catalogues: the run skips them in
// silence, leaves every byte as it was and goes on with the next file.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "tests/hostile/listing_host.h"
#include "tests/support/catalogue_folder.h"
#include "tests/support/sqlite_file.h"

namespace {

using hostile_test::FilmsUpgraded;
using hostile_test::ListingHost;
using patch::FileOutcome;
using patch_test::CatalogueFolder;
using patch_test::FileBytes;
using sample::Level;

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string JetHeader()
{
    std::string bytes("\x00\x01\x00\x00Standard Jet DB\x00", 20);
    bytes.resize(4096, '\x5a');
    return bytes;
}

std::ptrdiff_t EntryCount(const std::string& folder)
{
    return std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator());
}

// Every listed file but good.mdb must be skipped with nothing shown and no byte changed,
// and the folder must hold nothing new (no journal, no compaction copy).
void ExpectSkippedUnchanged(const CatalogueFolder& folder, const std::vector<std::string>& names)
{
    std::vector<std::string> before;
    for (const auto& name : names) before.push_back(FileBytes(folder.PathOf(name)));
    const auto countBefore = EntryCount(folder.Folder());

    const auto host = folder.Upgrade<ListingHost>();

    EXPECT_EQ(host->OutcomeOf("good.mdb"), FileOutcome::Upgraded);
    EXPECT_TRUE(FilmsUpgraded(folder.PathOf("good.mdb")));
    EXPECT_TRUE(host->notices.empty()) << host->notices.front().text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(host->OutcomeOf(names[i]), FileOutcome::Failed) << names[i];
        EXPECT_EQ(FileBytes(folder.PathOf(names[i])), before[i]) << names[i];
    }
    EXPECT_EQ(EntryCount(folder.Folder()), countBefore);
}

TEST(NotCatalogue, EmptyTextAndForeignFilesAreSkippedWithoutAWord)
{
    CatalogueFolder folder;
    folder.Add("good.mdb", Level::ReadyYesNo, 10, 5);
    WriteBytes(folder.PathOf("a_zero.mdb"), "");
    WriteBytes(folder.PathOf("b_tekst.mdb"), "Lista filmów do obejrzenia:\r\nRejs\r\nMiś\r\n");
    WriteBytes(folder.PathOf("c_jet.mdb"), JetHeader());
    WriteBytes(folder.PathOf("d_pg.mdb"),
               "--\n-- PostgreSQL database dump\n--\n\nCREATE TABLE filmy (id integer);\n"
               "COPY filmy (id) FROM stdin;\n1\n\\.\n");
    // Only the header of an SQLite file: the magic text without any page.
    WriteBytes(folder.PathOf("e_magic.mdb"), std::string("SQLite format 3\0", 16));
    ExpectSkippedUnchanged(folder, {"a_zero.mdb", "b_tekst.mdb", "c_jet.mdb", "d_pg.mdb", "e_magic.mdb"});
}

TEST(NotCatalogue, TruncatedAndCorruptedCataloguesAreLeftAsTheyWere)
{
    CatalogueFolder folder;
    folder.Add("good.mdb", Level::ReadyYesNo, 10, 5);
    const auto truncated = folder.Add("truncated.mdb", Level::ReadyYesNo, 400, 100);
    std::filesystem::resize_file(truncated, std::filesystem::file_size(truncated) / 2);

    // Every page after the schema page overwritten: the file opens, its tables do not read.
    const auto corrupted = folder.Add("corrupted.mdb", Level::ReadyYesNo, 400, 100);
    {
        std::string bytes = FileBytes(corrupted);
        for (std::size_t i = 4096; i < bytes.size(); ++i) bytes[i] = static_cast<char>(0xA5 ^ (i & 0xFF));
        WriteBytes(corrupted, bytes);
    }
    // Header damaged: a wrong page size.
    const auto badHeader = folder.Add("header.mdb", Level::ReadyYesNo, 10, 5);
    {
        std::string bytes = FileBytes(badHeader);
        bytes[16] = '\x03';
        bytes[17] = '\x01';
        WriteBytes(badHeader, bytes);
    }
    const std::vector<std::string> damaged{"corrupted.mdb", "header.mdb", "truncated.mdb"};
    std::vector<std::string> before;
    for (const auto& name : damaged) before.push_back(FileBytes(folder.PathOf(name)));

    const auto host = folder.Upgrade<ListingHost>();

    EXPECT_EQ(host->OutcomeOf("good.mdb"), FileOutcome::Upgraded);
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        // Met on opening (silent) or while reading the films (reported): never ticked.
        const auto outcome = host->OutcomeOf(damaged[i]);
        EXPECT_TRUE(outcome == FileOutcome::Failed || outcome == FileOutcome::ConversionError) << damaged[i];
        EXPECT_EQ(FileBytes(folder.PathOf(damaged[i])), before[i]) << damaged[i];
    }
    EXPECT_EQ(std::count(host->ticks.begin(), host->ticks.end(), true), 1);
}

}  // namespace
