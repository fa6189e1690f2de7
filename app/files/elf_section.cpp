#include "app/files/elf_section.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace utils {
namespace {

constexpr std::uint16_t kSectionIndexEscape = 0xFFFF;  // SHN_XINDEX
constexpr std::uint32_t kSectionNoBits = 8;            // SHT_NOBITS
// Section names live in the first part of any sane string table.
constexpr std::uint64_t kMaxNameTableRead = 1u << 20;
// Far beyond any real file; keeps a hostile count from reading a huge table.
constexpr std::uint64_t kMaxSections = 1u << 18;

struct ElfLayout {
    bool is64 = false;
    bool bigEndian = false;
    std::size_t headerSize() const { return is64 ? 64 : 52; }
    std::size_t sectionHeaderSize() const { return is64 ? 64 : 40; }
};

struct SectionHeader {
    std::uint32_t name = 0;
    std::uint32_t type = 0;
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    std::uint32_t link = 0;
};

class FieldReader {
public:
    FieldReader(const ElfLayout& layout, const std::uint8_t* base) : layout_(layout), base_(base) {}
    std::uint16_t U16(std::size_t at) const { return layout_.bigEndian ? Be16(base_ + at) : Le16(base_ + at); }
    std::uint32_t U32(std::size_t at) const { return layout_.bigEndian ? Be32(base_ + at) : Le32(base_ + at); }
    std::uint64_t U64(std::size_t at) const { return layout_.bigEndian ? Be64(base_ + at) : Le64(base_ + at); }
    // Address-sized field: 8 bytes in a 64-bit file, 4 in a 32-bit one.
    std::uint64_t Word(std::size_t at) const { return layout_.is64 ? U64(at) : U32(at); }

private:
    const ElfLayout& layout_;
    const std::uint8_t* base_;
};

SectionHeader DecodeSection(const ElfLayout& layout, const std::uint8_t* raw)
{
    const FieldReader f(layout, raw);
    SectionHeader s;
    s.name = f.U32(0);
    s.type = f.U32(4);
    s.offset = layout.is64 ? f.U64(24) : f.U32(16);
    s.size = layout.is64 ? f.U64(32) : f.U32(20);
    s.link = layout.is64 ? f.U32(40) : f.U32(24);
    return s;
}

}  // namespace

std::optional<ImageRange> FindElfSection(const ImageBytes& image, std::string_view name)
{
    std::uint8_t header[64] = {};
    if (!image.Read(0, 16, header)) return std::nullopt;
    if (std::memcmp(header,
                    "\x7F"
                    "ELF",
                    4) != 0)
        return std::nullopt;
    ElfLayout layout;
    if (header[4] != 1 && header[4] != 2) return std::nullopt;
    if (header[5] != 1 && header[5] != 2) return std::nullopt;
    layout.is64 = header[4] == 2;
    layout.bigEndian = header[5] == 2;
    if (!image.Read(0, layout.headerSize(), header)) return std::nullopt;

    const FieldReader h(layout, header);
    const std::uint64_t tableOffset = layout.is64 ? h.U64(0x28) : h.U32(0x20);
    const std::size_t entrySize = h.U16(layout.is64 ? 0x3A : 0x2E);
    std::uint64_t count = h.U16(layout.is64 ? 0x3C : 0x30);
    std::uint32_t nameTableIndex = h.U16(layout.is64 ? 0x3E : 0x32);
    if (tableOffset == 0 || entrySize < layout.sectionHeaderSize()) return std::nullopt;

    // Section 0 carries the real count and name-table index when they overflow 16 bits.
    const auto first = image.ReadBytes(tableOffset, layout.sectionHeaderSize());
    if (!first) return std::nullopt;
    const SectionHeader zero = DecodeSection(layout, first->data());
    if (count == 0) count = zero.size;
    if (nameTableIndex == kSectionIndexEscape) nameTableIndex = zero.link;
    // Each entry must lie in the file, which also bounds the table read below.
    if (count == 0 || count > kMaxSections || count > image.Size() / entrySize || nameTableIndex >= count)
        return std::nullopt;

    const auto table = image.ReadBytes(tableOffset, static_cast<std::size_t>(count * entrySize));
    if (!table) return std::nullopt;
    auto sectionAt = [&](std::uint64_t index) { return DecodeSection(layout, table->data() + index * entrySize); };

    const SectionHeader names = sectionAt(nameTableIndex);
    if (names.type == kSectionNoBits) return std::nullopt;
    const auto nameTable =
        image.ReadBytes(names.offset, static_cast<std::size_t>(std::min(names.size, kMaxNameTableRead)));
    if (!nameTable) return std::nullopt;

    for (std::uint64_t i = 1; i < count; ++i) {
        const SectionHeader section = sectionAt(i);
        if (section.name >= nameTable->size()) continue;
        const char* start = reinterpret_cast<const char*>(nameTable->data()) + section.name;
        const std::size_t room = nameTable->size() - section.name;
        const char* end = std::find(start, start + room, '\0');
        if (end == start + room) continue;  // unterminated name
        if (std::string_view(start, static_cast<std::size_t>(end - start)) != name) continue;
        if (section.type == kSectionNoBits || section.size == 0) return std::nullopt;
        if (section.offset > image.Size() || section.size > image.Size() - section.offset) return std::nullopt;
        return ImageRange{section.offset, section.size};
    }
    return std::nullopt;
}

}  // namespace utils
