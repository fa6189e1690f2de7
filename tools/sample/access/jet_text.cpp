#include "tools/sample/access/jet_text.h"

#include <stdexcept>

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
    ByteVector compressed{0xFF, 0xFE};
    bool oneByte = true;
    for (char16_t unit : text) {
        if ((unit & 0xFF) == 0) return plain;
        const bool fits = unit < 0x100;
        if (fits != oneByte) {
            compressed.push_back(0);
            oneByte = fits;
        }
        if (oneByte)
            compressed.push_back(static_cast<std::uint8_t>(unit));
        else
            PutU16(compressed, unit);
    }
    return compressed.size() < plain.size() ? compressed : plain;
}

bool IsCompressed(std::span<const std::uint8_t> stored)
{
    return stored.size() >= 2 && stored[0] == 0xFF && stored[1] == 0xFE;
}

}  // namespace sample::access
