#include "tools/sample/access/jet_text.h"

#include <array>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace sample::access {

namespace {

char32_t nextCodePoint(std::string_view text, std::size_t& at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    int extra = 0;
    char32_t point = lead;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        point = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        point = lead & 0x07;
    } else if (lead >= 0x80) {
        throw std::invalid_argument("text is not UTF-8");
    }
    if (at + extra >= text.size() + (extra ? 0 : 1)) throw std::invalid_argument("text is not UTF-8");
    for (int i = 1; i <= extra; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) throw std::invalid_argument("text is not UTF-8");
        point = (point << 6) | (next & 0x3F);
    }
    const bool overlong = (extra == 2 && point < 0x800) || (extra == 3 && point < 0x10000);
    if (overlong || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
        throw std::invalid_argument("text is not UTF-8");
    at += extra + 1;
    return point;
}

}  // namespace

std::u16string Utf16(std::string_view utf8)
{
    std::u16string result;
    result.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t point = nextCodePoint(utf8, at);
        if (point < 0x10000) {
            result.push_back(static_cast<char16_t>(point));
        } else {
            result.push_back(static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10)));
            result.push_back(static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF)));
        }
    }
    return result;
}

ByteVector Utf16Bytes(std::u16string_view text)
{
    ByteVector bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t unit : text) PutU16(bytes, unit);
    return bytes;
}

ByteVector StoredText(std::u16string_view text, bool mayCompress)
{
    ByteVector plain = Utf16Bytes(text);
    if (!mayCompress || text.empty()) return plain;
    for (char16_t unit : text)
        if ((unit & 0xFF) == 0) return plain;
    // The shortest form: each character below U+0100 may be kept in either
    // mode, the others only as two bytes, and each switch costs a byte. The
    // cheapest cost of ending each character in each mode, then the modes
    // traced back from the end.
    constexpr std::size_t oneByte = 0, twoBytes = 1, unreachable = SIZE_MAX / 2;
    const std::size_t n = text.size();
    std::vector<std::array<std::size_t, 2>> cost(n);
    std::vector<std::array<std::size_t, 2>> from(n);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t mode : {oneByte, twoBytes}) {
            const bool allowed = mode == twoBytes || text[i] < 0x100;
            const std::size_t own = mode == oneByte ? 1 : 2;
            if (!allowed) {
                cost[i][mode] = unreachable;
                continue;
            }
            if (i == 0) {
                cost[i][mode] = own + (mode == oneByte ? 0 : 1);  // the text starts in one-byte mode
                from[i][mode] = oneByte;
                continue;
            }
            const std::size_t stay = cost[i - 1][mode];
            const std::size_t change = cost[i - 1][1 - mode] + 1;
            from[i][mode] = stay <= change ? mode : 1 - mode;
            cost[i][mode] = std::min(stay, change) + own;
        }
    }
    const std::size_t last = cost[n - 1][oneByte] <= cost[n - 1][twoBytes] ? oneByte : twoBytes;
    if (cost[n - 1][last] + 2 >= plain.size()) return plain;
    std::vector<std::size_t> modes(n);
    modes[n - 1] = last;
    for (std::size_t i = n - 1; i > 0; --i) modes[i - 1] = from[i][modes[i]];
    ByteVector compressed{0xFF, 0xFE};
    std::size_t mode = oneByte;
    for (std::size_t i = 0; i < n; ++i) {
        if (modes[i] != mode) {
            compressed.push_back(0);
            mode = modes[i];
        }
        if (mode == oneByte)
            compressed.push_back(static_cast<std::uint8_t>(text[i]));
        else
            PutU16(compressed, text[i]);
    }
    return compressed;
}

bool IsCompressed(std::span<const std::uint8_t> stored)
{
    return stored.size() >= 2 && stored[0] == 0xFF && stored[1] == 0xFE;
}

}  // namespace sample::access
