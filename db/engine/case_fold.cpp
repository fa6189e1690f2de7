#include "db/engine/case_fold.h"

namespace engine::detail {
namespace {

char32_t foldCodePoint(char32_t c)
{
    if (c >= U'A' && c <= U'Z') return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c | 1;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c + 1 : c;
    if (c == 0x178) return 0xFF;
    return c;
}

}  // namespace

std::string foldCase(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            out.push_back(static_cast<char>(foldCodePoint(byte)));
            continue;
        }
        // Every letter folded here is a two-byte sequence and folds to one.
        const bool twoByteLead = byte >= 0xC2 && byte <= 0xDF;
        if (twoByteLead && i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
            const char32_t c = (char32_t(byte & 0x1F) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3F);
            const char32_t folded = foldCodePoint(c);
            out.push_back(static_cast<char>(0xC0 | (folded >> 6)));
            out.push_back(static_cast<char>(0x80 | (folded & 0x3F)));
            ++i;
            continue;
        }
        out.push_back(text[i]);
    }
    return out;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return foldCase(a) == foldCase(b);
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && foldCase(text.substr(0, prefix.size())) == foldCase(prefix);
}

}  // namespace engine::detail
