// Access files the converter refuses, each with its Polish cause, leaving no
// new file behind: cut short, damaged rows and long values, values the
// format cannot hold, a file open in the other program; and a taken name is
// never written over.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>

#include "access_test_support.h"
#include "db/access/access_converter.h"
#include "db/access/access_error.h"
#include "db/access/lock_file.h"
#include "tests/support/holding_process.h"

namespace {

using namespace access_test;
using T = sa::ColumnType;

constexpr std::size_t pageSize = 4096;

class Refusal : public ::testing::Test {
protected:
    // The cause the converter gives, "" when it converts; the new file must
    // not remain after a refusal.
    std::string CauseOf(const std::string& from = {})
    {
        return ConversionCause(from.empty() ? access : from, converted);
    }

    void Write(const sa::TableDefinition& table, const std::vector<std::vector<sa::Value>>& rows)
    {
        sa::WriteAccessFile(access, {{table, rows}});
    }

    // The file's page that holds these bytes.
    std::size_t PageHolding(const std::string& bytes, const std::string& needle)
    {
        const auto at = bytes.find(needle);
        EXPECT_NE(at, std::string::npos);
        return at / pageSize;
    }

    TempFolder folder;
    std::string access = folder.file("stary.mdb");
    std::string converted = folder.file("nowy.mdb");
};

const sa::TableDefinition kNotes{"Notatki", {{"Nr", T::Long}, {"Tekst", T::Memo}}, {}};

TEST_F(Refusal, FilesThatAreNoJet4AccessFilesOrAreCutShort)
{
    WriteAll(access, "zwykły tekst, nie baza");
    EXPECT_EQ(CauseOf(), "to nie jest plik bazy Access");
    EXPECT_EQ(CauseOf(folder.file("brak.mdb")).rfind("nie daje się otworzyć pliku", 0), 0u);

    std::vector<std::vector<sa::Value>> rows;
    for (int i = 0; i < 2000; ++i) rows.push_back({std::int64_t{i}, "notatka " + std::to_string(i)});
    Write(kNotes, rows);
    ASSERT_EQ(CauseOf(), "");
    const std::string whole = ReadAll(access);

    // Cut in the middle of a page, and at a page's end.
    WriteAll(access, whole.substr(0, whole.size() - 100));
    EXPECT_EQ(CauseOf(), "plik bazy Access jest ucięty lub uszkodzony: jego długość nie jest wielokrotnością strony");
    WriteAll(access, whole.substr(0, whole.size() - pageSize));
    const auto cut = CauseOf();
    EXPECT_NE(cut.find("uszkodzon"), std::string::npos) << cut;  // whichever page is missing

    std::string older = whole;
    older[0x14] = 0;  // Jet 3
    WriteAll(access, older);
    EXPECT_NE(CauseOf().find("Jet 3"), std::string::npos);
}

TEST_F(Refusal, AFileCutAtAnyPageIsRefusedOrConvertsWhole)
{
    std::vector<std::vector<sa::Value>> rows;
    for (int i = 0; i < 300; ++i)
        rows.push_back({std::int64_t{i}, std::string(static_cast<std::size_t>(i * 37 % 5000), 'a' + i % 26)});
    Write(kNotes, rows);
    ASSERT_EQ(CauseOf(), "");
    accessdb::ConvertAccessFile(access, converted);
    const auto whole = Column(converted, "SELECT Nr || ':' || length(Tekst) FROM Notatki");
    std::filesystem::remove(converted);

    const std::string bytes = ReadAll(access);
    const std::string cutFile = folder.file("ucięty.mdb");
    for (std::size_t pages = 1; pages * pageSize < bytes.size(); ++pages) {
        WriteAll(cutFile, bytes.substr(0, pages * pageSize));
        if (CauseOf(cutFile).empty()) {
            accessdb::ConvertAccessFile(cutFile, converted);
            EXPECT_EQ(Column(converted, "SELECT Nr || ':' || length(Tekst) FROM Notatki"), whole) << pages;
            std::filesystem::remove(converted);
        }
    }
}

TEST_F(Refusal, RowsMovedToAnotherPageAndDeletedRows)
{
    Write(kNotes, {{std::int64_t{1}, "pierwsza"}, {std::int64_t{2}, "druga"}});
    std::string bytes = ReadAll(access);
    const std::size_t page = PageHolding(bytes, "druga");
    const std::size_t base = page * pageSize;
    ASSERT_EQ(bytes[base], '\x01');  // a data page
    const auto tdef = U32(bytes, base + 4);

    // Row 0's offset marked as moved elsewhere: libmdb 1.0 would skip it silently.
    std::string moved = bytes;
    moved[base + 14 + 1] = static_cast<char>(moved[base + 14 + 1] | 0x40);
    WriteAll(access, moved);
    EXPECT_NE(CauseOf().find("wiersz przeniesiony na inną stronę"), std::string::npos);

    // Row 0 deleted, and the table's count lowered, as Access deletes: the
    // row is left out (libmdb 1.0 would read it as live).
    std::string deleted = bytes;
    deleted[base + 14 + 1] = static_cast<char>(deleted[base + 14 + 1] | 0x80);
    PutU32(deleted, tdef * pageSize + 16, U32(deleted, tdef * pageSize + 16) - 1);
    WriteAll(access, deleted);
    ASSERT_EQ(CauseOf(), "");
    accessdb::ConvertAccessFile(access, converted);
    EXPECT_EQ(Column(converted, "SELECT Nr FROM Notatki"), std::vector<std::string>{"integer:2"});
}

TEST_F(Refusal, AMemoWhosePageChainLeadsBackToItself)
{
    const std::string memo(9000, 'm');  // stored compressed: three LVAL pages
    Write(kNotes, {{std::int64_t{1}, memo}});
    std::string bytes = ReadAll(access);
    bool changed = false;
    for (std::size_t page = 1; page * pageSize < bytes.size() && !changed; ++page) {
        const std::size_t base = page * pageSize;
        if (bytes[base] != '\x01' || bytes.compare(base + 4, 4, "LVAL") != 0) continue;
        const auto rowStart = static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[base + 14]) |
                                                         (static_cast<unsigned char>(bytes[base + 15]) << 8)) &
                              0x1FFF;
        if (U32(bytes, base + rowStart) == 0) continue;                         // the chain's last page
        PutU32(bytes, base + rowStart, static_cast<std::uint32_t>(page << 8));  // next: this very row
        changed = true;
    }
    ASSERT_TRUE(changed);
    WriteAll(access, bytes);
    EXPECT_EQ(CauseOf(), "wartość pola „Notatki.Tekst” (Memo) jest uszkodzona");
}

TEST_F(Refusal, ValuesTheFormatCannotHoldExactly)
{
    const sa::TableDefinition numbers{"Liczby", {{"D", T::Double}, {"K", T::DateTime}}, {}};
    Write(numbers, {{std::numeric_limits<double>::quiet_NaN(), {}}});
    EXPECT_EQ(CauseOf(), "pole „Liczby.D” zawiera wartość nieliczbową (NaN), której format katalogu nie przechowuje");
    Write(numbers, {{-0.0, {}}});
    EXPECT_EQ(CauseOf(), "pole „Liczby.D” zawiera zero ze znakiem minus, którego format katalogu nie przechowuje");
    Write(numbers, {{1.0, sa::DateTime{0.5 + 1e-9}}});
    EXPECT_EQ(CauseOf(), "czas w polu „Liczby.K” ma ułamek milisekundy, którego format katalogu nie przechowuje");
    Write(numbers, {{1.0, sa::DateTime{3e6}}});
    EXPECT_EQ(CauseOf(), "data w polu „Liczby.K” jest poza zakresem od roku 100 do 9999");
    Write(numbers, {{1.0, sa::DateTime{1.0 + 500 / 86400000.0}}});
    EXPECT_EQ(CauseOf(), "");
}

TEST_F(Refusal, AFileOpenInTheOtherProgramButNotALeftOverLockFile)
{
    Write(kNotes, {{std::int64_t{1}, "x"}});
    const std::string lock = folder.file("stary.ldb");
    EXPECT_EQ(accessdb::lockFilePath(access), lock);
    EXPECT_EQ(accessdb::lockFilePath("/a.b/plik"), "/a.b/plik.ldb");
    WriteAll(lock, "");
    EXPECT_EQ(CauseOf(), "");  // left behind, no lock on it
    {
        test_support::HoldingProcess other([&] {
            const int fd = ::open(lock.c_str(), O_RDWR);
            struct flock range {};
            range.l_type = F_WRLCK;
            range.l_whence = SEEK_SET;
            range.l_start = 0x10000000;  // Jet locks bytes past the end
            range.l_len = 1;
            return fd >= 0 && ::fcntl(fd, F_SETLK, &range) == 0;
        });
        ASSERT_TRUE(other.held());
        EXPECT_EQ(CauseOf(), "plik jest otwarty w innym programie (jego plik blokady " + lock + " jest zajęty)");
    }
    EXPECT_EQ(CauseOf(), "");
}

TEST_F(Refusal, ATakenNameIsNeverWrittenOver)
{
    Write(kNotes, {{std::int64_t{1}, "x"}});
    WriteAll(converted, "cudzy plik");
    try {
        accessdb::ConvertAccessFile(access, converted);
        FAIL() << "converted over a taken name";
    } catch (const accessdb::ETargetExists& error) {
        EXPECT_EQ(std::string(error.what()), "plik " + converted + " już istnieje, a niczego nie nadpisuję");
    }
    EXPECT_EQ(ReadAll(converted), "cudzy plik");
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"nowy.mdb", "stary.mdb"}));
}

}  // namespace
