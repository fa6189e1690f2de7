#include "tools/sample/utf8_text.h"

#include <cctype>
#include <cstring>

namespace sample {

namespace {

bool isContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::string cutToChars(std::string_view text, std::size_t maxChars)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isContinuation(text[i]) && chars++ == maxChars) return std::string(text.substr(0, i));
    }
    return std::string(text);
}

}  // namespace

std::size_t CodePoints(std::string_view text)
{
    std::size_t count = 0;
    for (char c : text)
        if (!isContinuation(c)) ++count;
    return count;
}

std::string JoinWithin(std::span<const std::string> items, std::string_view separator, std::size_t maxChars)
{
    if (items.empty()) return {};
    std::string joined = cutToChars(items.front(), maxChars);
    std::size_t chars = CodePoints(joined);
    const std::size_t separatorChars = CodePoints(separator);
    for (std::size_t i = 1; i < items.size(); ++i) {
        const std::size_t more = separatorChars + CodePoints(items[i]);
        if (chars + more > maxChars) break;
        joined.append(separator).append(items[i]);
        chars += more;
    }
    return joined;
}

std::string CapitalizeFirst(std::string text)
{
    static constexpr const char* pairs[][2] = {
        {"ą", "Ą"}, {"ć", "Ć"}, {"ę", "Ę"}, {"ł", "Ł"}, {"ń", "Ń"}, {"ó", "Ó"}, {"ś", "Ś"}, {"ź", "Ź"}, {"ż", "Ż"},
    };
    if (text.empty()) return text;
    if (static_cast<unsigned char>(text[0]) < 0x80) {
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
        return text;
    }
    for (const auto& pair : pairs) {
        const std::size_t length = std::strlen(pair[0]);
        if (text.compare(0, length, pair[0]) == 0) return text.replace(0, length, pair[1]);
    }
    return text;
}

}  // namespace sample
