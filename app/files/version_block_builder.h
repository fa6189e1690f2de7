#pragma once
// Builds a Windows VS_VERSIONINFO block. Everything is constexpr so that the
// build can embed the program's block as data computed by the compiler.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace utils {

struct VersionStringEntry {
    std::u16string_view key;
    std::u16string_view value;
};

struct VersionResourceContents {
    bool withFixedInfo = true;
    std::array<std::uint16_t, 4> fileVersion{};
    std::array<std::uint16_t, 4> productVersion{};
    std::uint16_t language = 0;
    std::uint16_t codePage = 0;
    std::span<const VersionStringEntry> strings;
};

namespace version_block_detail {

// Writes little-endian data, or only counts it when out is null.
class Writer {
public:
    constexpr explicit Writer(std::uint8_t* out) : out_(out) {}
    constexpr std::size_t Position() const { return pos_; }

    constexpr void U16(std::uint16_t v)
    {
        Byte(static_cast<std::uint8_t>(v & 0xFF));
        Byte(static_cast<std::uint8_t>(v >> 8));
    }
    constexpr void U32(std::uint32_t v)
    {
        U16(static_cast<std::uint16_t>(v & 0xFFFF));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    constexpr void Text(std::u16string_view text)
    {
        for (char16_t c : text) U16(static_cast<std::uint16_t>(c));
        U16(0);
    }
    constexpr void Align()
    {
        while (pos_ % 4 != 0) Byte(0);
    }

    // Header of a block with its length left open; gives the block's start.
    constexpr std::size_t Open(std::uint16_t valueLength, std::uint16_t type, std::u16string_view key)
    {
        Align();
        const std::size_t start = pos_;
        U16(0);
        U16(valueLength);
        U16(type);
        Text(key);
        Align();
        return start;
    }
    // A block's length excludes the padding that precedes its next sibling.
    constexpr void Close(std::size_t start)
    {
        const std::size_t length = pos_ - start;
        if (length > 0xFFFF) throw std::length_error("version block longer than 65535 bytes");
        if (out_ != nullptr) {
            out_[start] = static_cast<std::uint8_t>(length & 0xFF);
            out_[start + 1] = static_cast<std::uint8_t>(length >> 8);
        }
    }

private:
    constexpr void Byte(std::uint8_t b)
    {
        if (out_ != nullptr) out_[pos_] = b;
        ++pos_;
    }
    std::uint8_t* out_;
    std::size_t pos_ = 0;
};

constexpr std::uint32_t High(const std::array<std::uint16_t, 4>& v)
{
    return (std::uint32_t{v[0]} << 16) | v[1];
}
constexpr std::uint32_t Low(const std::array<std::uint16_t, 4>& v)
{
    return (std::uint32_t{v[2]} << 16) | v[3];
}

// "041504E2": language then code page, four upper-case hex digits each.
constexpr std::array<char16_t, 8> TableKey(std::uint16_t language, std::uint16_t codePage)
{
    constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::array<char16_t, 8> key{};
    const std::uint32_t both = (std::uint32_t{language} << 16) | codePage;
    for (std::size_t i = 0; i < key.size(); ++i) key[i] = kDigits[(both >> (28 - 4 * i)) & 0xF];
    return key;
}

}  // namespace version_block_detail

// Writes the block into out (which must hold VersionBlockSize bytes) or, with
// out null, only measures it. Gives the size.
constexpr std::size_t WriteVersionBlock(const VersionResourceContents& contents, std::uint8_t* out)
{
    using namespace version_block_detail;
    constexpr std::uint16_t kBinary = 0;
    constexpr std::uint16_t kText = 1;
    Writer w(out);

    const std::size_t root = w.Open(contents.withFixedInfo ? 52 : 0, kBinary, u"VS_VERSION_INFO");
    if (contents.withFixedInfo) {
        w.U32(0xFEEF04BD);  // signature
        w.U32(0x00010000);  // structure version 1.0
        w.U32(High(contents.fileVersion));
        w.U32(Low(contents.fileVersion));
        w.U32(High(contents.productVersion));
        w.U32(Low(contents.productVersion));
        w.U32(0x3F);        // flags mask
        w.U32(0);           // flags
        w.U32(0x00040004);  // VOS_NT_WINDOWS32
        w.U32(1);           // VFT_APP
        w.U32(0);           // subtype
        w.U32(0);           // date, high
        w.U32(0);           // date, low
    }

    const std::size_t stringInfo = w.Open(0, kText, u"StringFileInfo");
    const auto tableKey = TableKey(contents.language, contents.codePage);
    const std::size_t table = w.Open(0, kText, std::u16string_view(tableKey.data(), tableKey.size()));
    for (const VersionStringEntry& entry : contents.strings) {
        const std::size_t string = w.Open(static_cast<std::uint16_t>(entry.value.size() + 1), kText, entry.key);
        w.Text(entry.value);
        w.Close(string);
    }
    w.Close(table);
    w.Close(stringInfo);

    const std::size_t varInfo = w.Open(0, kText, u"VarFileInfo");
    const std::size_t translation = w.Open(4, kBinary, u"Translation");
    w.U16(contents.language);
    w.U16(contents.codePage);
    w.Close(translation);
    w.Close(varInfo);

    w.Close(root);
    return w.Position();
}

constexpr std::size_t VersionBlockSize(const VersionResourceContents& contents)
{
    return WriteVersionBlock(contents, nullptr);
}

// The block as a constant; N must be VersionBlockSize(contents).
template <std::size_t N>
constexpr std::array<std::uint8_t, N> BuildVersionBlock(const VersionResourceContents& contents)
{
    std::array<std::uint8_t, N> block{};
    if (WriteVersionBlock(contents, block.data()) != N) throw std::logic_error("wrong block size");
    return block;
}

inline std::vector<std::uint8_t> MakeVersionBlock(const VersionResourceContents& contents)
{
    std::vector<std::uint8_t> block(VersionBlockSize(contents));
    WriteVersionBlock(contents, block.data());
    return block;
}

}  // namespace utils
