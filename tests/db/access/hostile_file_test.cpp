// Access files damaged where a reader follows the file's own pointers: the
// table definition, its usage map, the catalogue's rows, the rows and their
// long values. Each is refused with its cause, without a crash or an endless
// loop, and no new file remains.

#include <gtest/gtest.h>

#include <filesystem>

#include "access_test_support.h"

namespace {

using namespace access_test;
using T = sa::ColumnType;

constexpr std::size_t pageSize = 4096;
constexpr std::uint32_t pastTheEnd = 0x00FFFFF0;

class HostileFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        const sa::TableDefinition notes{"Notatki", {{"Nr", T::Long}, {"Tekst", T::Memo}}, {}};
        std::vector<std::vector<sa::Value>> rows{{std::int64_t{1}, "pierwsza"}, {std::int64_t{2}, "druga"}};
        rows.push_back({std::int64_t{3}, std::string(9000, 'm')});  // on a chain of long-value pages
        sa::WriteAccessFile(access, {{notes, rows}});
        bytes = ReadAll(access);
        ASSERT_EQ(Cause(bytes), "");
        dataPage = bytes.find("pierwsza") / pageSize * pageSize;
        ASSERT_EQ(bytes[dataPage], '\x01');
        definition = U32(bytes, dataPage + 4) * pageSize;
        ASSERT_EQ(bytes[definition], '\x02');
    }

    std::string Cause(const std::string& damaged)
    {
        WriteAll(hostile, damaged);
        return ConversionCause(hostile, converted);
    }

    // Where a row of a page begins and ends (one past it).
    std::size_t RowStart(std::size_t page, unsigned row) const
    {
        return page + (U16(bytes, page + 14 + 2 * row) & 0x1FFF);
    }
    std::size_t RowEnd(std::size_t page, unsigned row) const
    {
        return row == 0 ? page + pageSize : RowStart(page, row - 1);
    }

    // The table's usage map: its row on its page.
    std::size_t UsageMap() const
    {
        const std::uint32_t address = U32(bytes, definition + 55);
        return RowStart(std::size_t{address >> 8} * pageSize, address & 0xFF);
    }

    TempFolder folder;
    std::string access = folder.file("dobry.mdb");
    std::string hostile = folder.file("zły.mdb");
    std::string converted = folder.file("nowy.mdb");
    std::string bytes;
    std::size_t dataPage = 0;
    std::size_t definition = 0;
};

TEST_F(HostileFile, ATableDefinitionThatLiesAboutItsFields)
{
    std::string damaged = bytes;
    PutU16(damaged, definition + 45, 100);  // more fields than it describes
    EXPECT_EQ(Cause(damaged), "definicja tabeli „Notatki” jest uszkodzona: numery jej pól są niemożliwe");
    PutU16(damaged, definition + 45, 200);
    EXPECT_EQ(Cause(damaged), "definicja tabeli „Notatki” jest uszkodzona: opisy pól sięgają poza jej strony");
    PutU16(damaged, definition + 45, 60000);
    EXPECT_EQ(Cause(damaged), "definicja tabeli „Notatki” jest uszkodzona: liczba jej pól jest niemożliwa");

    damaged = bytes;
    PutU32(damaged, definition + 51, 60);  // index entries that would push the fields past its page
    PutU32(damaged, definition + 47, 60);
    EXPECT_EQ(Cause(damaged).rfind("definicja tabeli „Notatki” jest uszkodzona: ", 0), 0u);

    // A row whose variable field's offset, or count of them, points outside it.
    const std::string damagedRow = "wiersz tabeli „Notatki” jest uszkodzony";
    const std::size_t rowEnd = RowEnd(dataPage, 0);
    damaged = bytes;
    PutU16(damaged, rowEnd - 5, 0x0FFF);
    EXPECT_EQ(Cause(damaged), damagedRow);
    damaged = bytes;
    PutU16(damaged, rowEnd - 3, 500);
    EXPECT_EQ(Cause(damaged), damagedRow);
}

TEST_F(HostileFile, PagePointersPastTheEndOrRoundALoop)
{
    std::string damaged = bytes;
    PutU32(damaged, definition + 4, pastTheEnd);  // the definition's next page
    EXPECT_EQ(Cause(damaged), "definicja tabeli „Notatki” jest uszkodzona: jej kolejna strona leży poza plikiem");
    PutU32(damaged, definition + 4, static_cast<std::uint32_t>(definition / pageSize));
    EXPECT_EQ(Cause(damaged), "definicja tabeli „Notatki” jest uszkodzona: jej strony tworzą pętlę");

    damaged = bytes;
    PutU32(damaged, definition + 55, pastTheEnd << 8);
    EXPECT_EQ(Cause(damaged), "definicja tabeli „Notatki” jest uszkodzona: mapa stron leży poza plikiem");

    // The long memo's first page.
    const std::size_t memo = RowStart(dataPage, 2) + 2 + 4;
    ASSERT_EQ(U32(bytes, memo), 18000u);  // UTF-16, too long to be compressed
    damaged = bytes;
    PutU32(damaged, memo + 4, pastTheEnd << 8);
    EXPECT_EQ(Cause(damaged), "wartość pola „Notatki.Tekst” (Memo) jest uszkodzona");
}

TEST_F(HostileFile, AUsageMapNamingPagesPastTheEnd)
{
    const std::string cause = "definicja tabeli „Notatki” jest uszkodzona: mapa stron wskazuje strony spoza pliku";
    const std::size_t map = UsageMap();
    ASSERT_EQ(bytes[map], '\0');  // the map in its row
    std::string damaged = bytes;
    PutU32(damaged, map + 1, pastTheEnd);
    EXPECT_EQ(Cause(damaged), cause);

    // A map of bitmap pages, one past the end: libmdb would end the process.
    damaged = bytes;
    damaged[map] = '\x01';
    PutU32(damaged, map + 1, pastTheEnd);
    EXPECT_EQ(Cause(damaged), cause);
    PutU32(damaged, map + 1, static_cast<std::uint32_t>(dataPage / pageSize));
    EXPECT_EQ(Cause(damaged),
              "definicja tabeli „Notatki” jest uszkodzona: mapa stron wskazuje stronę, która nie jest mapą");
    damaged[map] = '\x07';
    EXPECT_EQ(Cause(damaged), "definicja tabeli „Notatki” jest uszkodzona: mapa stron jest nieznanego rodzaju");
}

TEST_F(HostileFile, ACatalogueRowPointingAtAPageThatIsNoTableDefinition)
{
    // The catalogue's row of the table: its first field, Id, is the definition's page.
    const auto table = static_cast<std::uint32_t>(definition / pageSize);
    std::size_t id = 0;
    for (std::size_t page = 0; page < bytes.size() && id == 0; page += pageSize) {
        if (bytes[page] != '\x01' || U32(bytes, page + 4) != 2) continue;
        for (unsigned row = 0; row < U16(bytes, page + 12); ++row)
            if (U32(bytes, RowStart(page, row) + 2) == table) id = RowStart(page, row) + 2;
    }
    ASSERT_NE(id, 0u);
    std::string damaged = bytes;
    PutU32(damaged, id, static_cast<std::uint32_t>(dataPage / pageSize));
    EXPECT_EQ(Cause(damaged),
              "spis obiektów pliku Access wskazuje jako definicję tabeli „Notatki” stronę, która nie jest definicją "
              "tabeli");
    PutU32(damaged, id, pastTheEnd);
    EXPECT_EQ(Cause(damaged), "spis obiektów pliku Access wskazuje jako definicję tabeli „Notatki” stronę spoza pliku");
}

TEST_F(HostileFile, AMemoWhoseChainComesBackToItselfEndsAtOnce)
{
    // The chain's first piece cut to one byte, pointing at itself: a reader
    // trusting the length would go round about a billion times.
    const std::size_t memo = RowStart(dataPage, 2) + 2 + 4;
    const std::uint32_t first = U32(bytes, memo + 4);
    const std::size_t page = std::size_t{first >> 8} * pageSize;
    ASSERT_EQ(bytes.compare(page + 4, 4, "LVAL"), 0);
    ASSERT_EQ(first & 0xFF, 0u);
    std::string damaged = bytes;
    PutU16(damaged, page + 14, pageSize - 5);
    PutU32(damaged, page + pageSize - 5, first);
    EXPECT_EQ(Cause(damaged), "wartość pola „Notatki.Tekst” (Memo) jest uszkodzona");
    PutU32(damaged, memo, 0x3FFFFFFF);
    EXPECT_EQ(Cause(damaged), "wartość pola „Notatki.Tekst” (Memo) jest uszkodzona");
}

// libmdb parses every object's properties by the lengths inside them: a
// block of length 0 kept it allocating until memory ran out (found by the
// fuzzer), one longer than the value read past it.
TEST_F(HostileFile, CatalogueProperties)
{
    const std::size_t at = bytes.find(std::string("MR2\0", 4));
    ASSERT_NE(at, std::string::npos);
    const std::string cause = "właściwości obiektu w spisie obiektów pliku Access (MSysObjects) są uszkodzone";
    std::string damaged = bytes;
    PutU32(damaged, at + 4, 0);
    EXPECT_EQ(Cause(damaged), cause);
    PutU32(damaged, at + 4, 0x7FFFFFFF);
    EXPECT_EQ(Cause(damaged), cause);
}

// A crash inside libmdb while the rows are read must leave the user's files
// as they were: until the whole file has been read nothing has the new name,
// and the private folder is gone when the conversion ends.
TEST_F(HostileFile, NothingTakesTheNewNameBeforeTheWholeFileIsRead)
{
    int calls = 0;
    accessdb::ConversionHooks hooks;
    hooks.pendingInput = [&] {
        ++calls;
        EXPECT_FALSE(std::filesystem::exists(converted));
        const auto entries = folder.entries();  // the Access files and the private folder
        ASSERT_EQ(entries.size(), 3u);
        EXPECT_EQ(entries[0].rfind(".vidarkon-konwersja-", 0), 0u);
    };
    accessdb::ConvertAccessFile(access, converted, hooks);
    EXPECT_GT(calls, 0);
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"dobry.mdb", "nowy.mdb", "zły.mdb"}));
    std::filesystem::remove(converted);

    // Refused at the last row's memo, after the first rows were written.
    const std::size_t memo = RowStart(dataPage, 2) + 2 + 4;
    std::string damaged = bytes;
    PutU32(damaged, memo + 4, pastTheEnd << 8);
    EXPECT_EQ(Cause(damaged), "wartość pola „Notatki.Tekst” (Memo) jest uszkodzona");
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"dobry.mdb", "zły.mdb"}));
}

}  // namespace
