#include "db/access/jet_structure.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>

#include "db/access/access_error.h"

namespace accessdb::detail {
namespace {

constexpr std::size_t pageSize = 4096;
constexpr unsigned char pageData = 0x01;
constexpr unsigned char pageDefinition = 0x02;
constexpr unsigned char pageUsageBitmap = 0x05;
constexpr std::size_t rowCountAt = 12;
constexpr int offsetMask = 0x1FFF;

// Jet 4's table definition, as offsets into its pages read one after the
// other (each following page without its 8-byte header).
constexpr std::size_t everColumnsAt = 41;
constexpr std::size_t varColumnsAt = 43;
constexpr std::size_t columnsAt = 45;
constexpr std::size_t indexesAt = 47;
constexpr std::size_t realIndexesAt = 51;
constexpr std::size_t usageMapAt = 55;
constexpr std::size_t freeMapAt = 59;
constexpr std::size_t realIndexCountsAt = 63;
constexpr std::size_t realIndexCountSize = 12;
constexpr std::size_t columnSize = 25;
constexpr std::size_t realIndexSize = 52;
constexpr std::size_t indexSize = 28;
// Access allows no more fields in a table, nor indexes.
constexpr unsigned maxColumns = 255;
constexpr unsigned maxIndexes = 64;

unsigned u8(std::string_view bytes, std::size_t at)
{
    return static_cast<unsigned char>(bytes[at]);
}

unsigned u16(std::string_view bytes, std::size_t at)
{
    return u8(bytes, at) | (u8(bytes, at + 1) << 8);
}

std::uint32_t u32(std::string_view bytes, std::size_t at)
{
    return u16(bytes, at) | (static_cast<std::uint32_t>(u16(bytes, at + 2)) << 16);
}

[[noreturn]] void refuse(const std::string& cause)
{
    throw EAccessRefused(cause);
}

}  // namespace

JetStructure::JetStructure(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC))
{
    struct stat status {};
    if (!fd_.valid() || ::fstat(fd_.get(), &status) != 0)
        refuse("nie daje się otworzyć pliku: " + std::string(std::strerror(errno)));
    pages_ = static_cast<std::uint64_t>(status.st_size) / pageSize;
}

std::string JetStructure::readPage(std::uint64_t page) const
{
    std::string bytes(pageSize, '\0');
    std::size_t done = 0;
    while (done < pageSize) {
        const ssize_t got =
            ::pread(fd_.get(), bytes.data() + done, pageSize - done, static_cast<off_t>(page * pageSize + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) refuse("nie daje się odczytać pliku: " + std::string(std::strerror(errno)));
        if (got == 0) refuse("plik bazy Access jest ucięty lub uszkodzony");
        done += static_cast<std::size_t>(got);
    }
    return bytes;
}

void JetStructure::checkTable(std::uint32_t page, const std::string& table) const
{
    const std::string name = "„" + table + "”";
    const auto damaged = [&](const std::string& what) {
        refuse("definicja tabeli " + name + " jest uszkodzona: " + what);
    };
    if (page == 0 || page >= pages_)
        refuse("spis obiektów pliku Access wskazuje jako definicję tabeli " + name + " stronę spoza pliku");

    // The definition's pages, each naming the next; none twice.
    std::string definition;
    std::set<std::uint64_t> seen;
    for (std::uint64_t at = page; at != 0;) {
        if (at >= pages_) damaged("jej kolejna strona leży poza plikiem");
        if (!seen.insert(at).second) damaged("jej strony tworzą pętlę");
        const std::string bytes = readPage(at);
        if (u8(bytes, 0) != pageDefinition) {
            if (at == page)
                refuse("spis obiektów pliku Access wskazuje jako definicję tabeli " + name +
                       " stronę, która nie jest definicją tabeli");
            damaged("jej kolejna strona nie jest stroną definicji");
        }
        definition += definition.empty() ? bytes : bytes.substr(8);
        at = u32(bytes, 4);
    }

    // Every part the counts promise must lie within the definition.
    const unsigned columns = u16(definition, columnsAt);
    const unsigned varColumns = u16(definition, varColumnsAt);
    // Numbers of deleted fields stay taken until the file is compacted.
    const unsigned everColumns = std::max(columns, u16(definition, everColumnsAt));
    const std::uint32_t indexes = u32(definition, indexesAt);
    const std::uint32_t realIndexes = u32(definition, realIndexesAt);
    if (columns == 0 || columns > maxColumns || varColumns > columns) damaged("liczba jej pól jest niemożliwa");
    if (indexes > maxIndexes || realIndexes > maxIndexes) damaged("liczba jej indeksów jest niemożliwa");
    std::size_t at = realIndexCountsAt + realIndexes * realIndexCountSize;
    const auto need = [&](std::size_t bytes, const char* what) {
        if (at + bytes > definition.size()) damaged(std::string(what) + " sięgają poza jej strony");
    };
    need(columns * columnSize, "opisy pól");
    std::set<unsigned> numbers;
    for (unsigned c = 0; c < columns; ++c, at += columnSize) {
        const unsigned number = u8(definition, at + 5);
        if (number >= everColumns || !numbers.insert(number).second) damaged("numery jej pól są niemożliwe");
    }
    for (unsigned c = 0; c < columns; ++c) {
        need(2, "nazwy pól");
        const unsigned length = u16(definition, at);
        at += 2;
        need(length, "nazwy pól");
        at += length;
    }
    need(realIndexes * realIndexSize + indexes * indexSize, "opisy indeksów");
    at += realIndexes * realIndexSize + indexes * indexSize;
    for (std::uint32_t x = 0; x < indexes; ++x) {
        need(2, "nazwy indeksów");
        const unsigned length = u16(definition, at);
        at += 2;
        need(length, "nazwy indeksów");
        at += length;
    }

    // The usage maps: rows on data pages; the map of the table's pages must
    // name only pages of the file, through bitmap pages of the file.
    const auto mapRow = [&](std::uint32_t address, const char* which) {
        const std::uint64_t mapPage = address >> 8;
        const std::size_t row = address & 0xFF;
        if (mapPage >= pages_) damaged(std::string(which) + " leży poza plikiem");
        const std::string bytes = readPage(mapPage);
        const std::size_t rows = u16(bytes, rowCountAt);
        if (u8(bytes, 0) != pageData || row >= rows || rowCountAt + 2 + 2 * rows > pageSize)
            damaged(std::string(which) + " nie jest wierszem strony danych");
        const std::size_t start = u16(bytes, rowCountAt + 2 + 2 * row) & offsetMask;
        const std::size_t end = row == 0 ? pageSize : u16(bytes, rowCountAt + 2 * row) & offsetMask;
        if (start < rowCountAt + 2 + 2 * rows || start >= end || end > pageSize)
            damaged(std::string(which) + " ma niemożliwe położenie");
        return bytes.substr(start, end - start);
    };
    mapRow(u32(definition, freeMapAt), "mapa wolnego miejsca");
    const std::string map = mapRow(u32(definition, usageMapAt), "mapa stron");
    const auto pastTheEnd = [&] { damaged("mapa stron wskazuje strony spoza pliku"); };
    if (map[0] == 0) {
        if (map.size() < 5) damaged("mapa stron jest za krótka");
        const std::uint64_t first = u32(map, 1);
        for (std::size_t bit = 0; bit < (map.size() - 5) * 8; ++bit)
            if ((u8(map, 5 + bit / 8) >> (bit % 8)) & 1)
                if (first + bit >= pages_) pastTheEnd();
    } else if (map[0] == 1) {
        constexpr std::uint64_t pagesPerBitmap = (pageSize - 4) * 8;
        for (std::size_t slot = 0; 1 + 4 * slot + 4 <= map.size(); ++slot) {
            const std::uint32_t bitmapPage = u32(map, 1 + 4 * slot);
            if (bitmapPage == 0) continue;
            if (bitmapPage >= pages_) pastTheEnd();
            const std::string bitmap = readPage(bitmapPage);
            if (u8(bitmap, 0) != pageUsageBitmap) damaged("mapa stron wskazuje stronę, która nie jest mapą");
            for (std::size_t bit = 0; bit < pagesPerBitmap; ++bit)
                if ((u8(bitmap, 4 + bit / 8) >> (bit % 8)) & 1)
                    if (slot * pagesPerBitmap + bit >= pages_) pastTheEnd();
        }
    } else {
        damaged("mapa stron jest nieznanego rodzaju");
    }
}

bool propertiesAreSound(std::string_view bytes)
{
    if (bytes.size() < 4 ||
        (bytes.substr(0, 4) != std::string_view("MR2\0", 4) && bytes.substr(0, 4) != std::string_view("KKD\0", 4)))
        return false;
    constexpr unsigned namesBlock = 0x80;
    for (std::size_t at = 4; at < bytes.size();) {
        if (bytes.size() - at < 6) return false;
        const std::uint32_t length = u32(bytes, at);
        if (length < 6 || length > bytes.size() - at) return false;
        const std::string_view block = bytes.substr(at + 6, length - 6);
        const unsigned type = u16(bytes, at + 4);
        if (type == namesBlock) {
            // Names, each its length and its bytes.
            for (std::size_t p = 0; p < block.size();) {
                if (block.size() - p < 2 || u16(block, p) > block.size() - p - 2) return false;
                p += 2 + u16(block, p);
            }
        } else if (type <= 2) {
            // The block's own name, then values, each a length, a type, a
            // name's number and its data.
            if (block.size() < 6 || u16(block, 4) > block.size() - 6) return false;
            for (std::size_t p = 6 + u16(block, 4); p < block.size();) {
                if (block.size() - p < 8) return false;
                const unsigned value = u16(block, p);
                if (value < 8 || value > block.size() - p || u16(block, p + 6) > value - 8) return false;
                p += value;
            }
        }
        at += length;
    }
    return true;
}

}  // namespace accessdb::detail
