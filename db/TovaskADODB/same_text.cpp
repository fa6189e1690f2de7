#include "db/TovaskADODB/same_text.h"

#include <cstddef>

namespace TovaskADODB {

namespace {

char32_t FoldLatin(char32_t c)
{
    if (c >= U'A' && c <= U'Z')
        return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 0x20;
    if (c == 0x178)
        return 0xFF;
    const bool evenUpper = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
    const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if ((evenUpper && c % 2 == 0) || (oddUpper && c % 2 == 1))
        return c + 1;
    return c;
}

// Stray bytes of broken sequences stay apart from every real character.
constexpr char32_t StrayByte = 0x110000;

// The next character: a two-byte UTF-8 sequence decoded, any other byte as it is.
char32_t Next(std::string_view text, std::size_t& i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    if ((lead & 0xE0) == 0xC0 && i + 1 < text.size()) {
        const auto trail = static_cast<unsigned char>(text[i + 1]);
        if ((trail & 0xC0) == 0x80) {
            i += 2;
            return (static_cast<char32_t>(lead & 0x1F) << 6) | (trail & 0x3F);
        }
    }
    ++i;
    return lead < 0x80 ? lead : StrayByte + lead;
}

}  // namespace

bool SameText(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (FoldLatin(Next(a, i)) != FoldLatin(Next(b, j)))
            return false;
    }
    return i == a.size() && j == b.size();
}

}  // namespace TovaskADODB
