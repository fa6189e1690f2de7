#include "db/engine/value_text.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace engine::detail {
namespace {

int daysInMonth(int year, int month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

std::string_view trimSpaces(std::string_view text)
{
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// Exactly `count` digits at `pos`.
bool readDigits(std::string_view text, std::size_t& pos, std::size_t count, int& out)
{
    if (pos + count > text.size()) return false;
    int value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char c = text[pos + i];
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    pos += count;
    out = value;
    return true;
}

bool expect(std::string_view text, std::size_t& pos, char c)
{
    if (pos >= text.size() || text[pos] != c) return false;
    ++pos;
    return true;
}

}  // namespace

bool isValidDateTime(const DateTime& v)
{
    return v.year >= 1 && v.year <= 9999 && v.month >= 1 && v.month <= 12 && v.day >= 1 &&
           v.day <= daysInMonth(v.year, v.month) && v.hour >= 0 && v.hour <= 23 && v.minute >= 0 && v.minute <= 59 &&
           v.second >= 0 && v.second <= 59 && v.millisecond >= 0 && v.millisecond <= 999;
}

void formatStoredDateTime(const DateTime& v, std::string& out)
{
    const bool plain = v.year >= 0 && v.year <= 9999 && v.month >= 0 && v.month <= 99 && v.day >= 0 && v.day <= 99 &&
                       v.hour >= 0 && v.hour <= 99 && v.minute >= 0 && v.minute <= 99 && v.second >= 0 &&
                       v.second <= 99 && v.millisecond >= 0 && v.millisecond <= 999;
    if (!plain) {
        // Out of the ranges a date can have: as printf writes it.
        char buffer[96];
        int length = std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", v.year, v.month, v.day,
                                   v.hour, v.minute, v.second);
        if (v.millisecond != 0)
            length += std::snprintf(buffer + length, sizeof buffer - static_cast<std::size_t>(length), ".%03d",
                                    v.millisecond);
        out.assign(buffer, static_cast<std::size_t>(length));
        return;
    }
    // A date is formatted for every row with one; printf would be most of the row's cost.
    char buffer[23];
    const auto digits = [&](int at, int value, int count) {
        for (int i = count - 1; i >= 0; --i) {
            buffer[at + i] = static_cast<char>('0' + value % 10);
            value /= 10;
        }
    };
    digits(0, v.year, 4);
    buffer[4] = '-';
    digits(5, v.month, 2);
    buffer[7] = '-';
    digits(8, v.day, 2);
    buffer[10] = ' ';
    digits(11, v.hour, 2);
    buffer[13] = ':';
    digits(14, v.minute, 2);
    buffer[16] = ':';
    digits(17, v.second, 2);
    std::size_t length = 19;
    if (v.millisecond != 0) {
        buffer[19] = '.';
        digits(20, v.millisecond, 3);
        length = 23;
    }
    out.assign(buffer, length);
}

std::string storedDateTimeText(const DateTime& value)
{
    std::string out;
    formatStoredDateTime(value, out);
    return out;
}

std::string dateTimeDisplayText(const DateTime& v)
{
    char buffer[32];
    const bool midnight = v.hour == 0 && v.minute == 0 && v.second == 0 && v.millisecond == 0;
    const int length = midnight ? std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", v.year, v.month, v.day)
                                : std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", v.year, v.month,
                                                v.day, v.hour, v.minute, v.second);
    return std::string(buffer, static_cast<std::size_t>(length));
}

std::optional<DateTime> parseIsoDateTime(std::string_view text)
{
    text = trimSpaces(text);
    DateTime v;
    v.hour = v.minute = v.second = v.millisecond = 0;
    std::size_t pos = 0;
    if (!readDigits(text, pos, 4, v.year) || !expect(text, pos, '-') || !readDigits(text, pos, 2, v.month) ||
        !expect(text, pos, '-') || !readDigits(text, pos, 2, v.day))
        return std::nullopt;
    if (pos < text.size()) {
        if (text[pos] != ' ' && text[pos] != 'T') return std::nullopt;
        ++pos;
        if (!readDigits(text, pos, 2, v.hour) || !expect(text, pos, ':') || !readDigits(text, pos, 2, v.minute))
            return std::nullopt;
        if (pos < text.size()) {
            if (!expect(text, pos, ':') || !readDigits(text, pos, 2, v.second)) return std::nullopt;
            if (pos < text.size()) {
                if (!expect(text, pos, '.') || pos == text.size()) return std::nullopt;
                int scale = 100;
                for (; pos < text.size(); ++pos) {
                    const char c = text[pos];
                    if (c < '0' || c > '9') return std::nullopt;
                    v.millisecond += (c - '0') * scale;
                    scale /= 10;
                }
            }
        }
    }
    if (!isValidDateTime(v)) return std::nullopt;
    return v;
}

std::optional<std::string> doubleText(double value)
{
    if (!std::isfinite(value)) return std::nullopt;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    for (char& c : text) {
        if (c == '.')
            c = ',';
        else if (c == 'e')
            c = 'E';
    }
    return text;
}

std::optional<std::int32_t> parseInteger(std::string_view text)
{
    text = trimSpaces(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<double> parseDouble(std::string_view text)
{
    text = trimSpaces(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    std::string copy(text);
    for (char& c : copy)
        if (c == ',') c = '.';
    double value = 0;
    const auto [end, ec] = std::from_chars(copy.data(), copy.data() + copy.size(), value);
    if (ec != std::errc() || end != copy.data() + copy.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<std::int32_t> roundToInteger(double value)
{
    if (!std::isfinite(value)) return std::nullopt;
    double rounded = std::round(value);  // halves away from zero
    if (std::fabs(value - std::trunc(value)) == 0.5) rounded = 2.0 * std::round(value / 2.0);
    if (rounded < -2147483648.0 || rounded > 2147483647.0) return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

std::size_t codePointCount(std::string_view text)
{
    std::size_t count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

bool isValidUtf8(std::string_view text)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        // Plain ASCII, most of a catalogue's text, eight bytes at a time, on to
        // the first byte that is not: Polish text has one every few words.
        while (i + sizeof(std::uint64_t) <= size) {
            std::uint64_t word = 0;
            std::memcpy(&word, bytes + i, sizeof word);
            const std::uint64_t high = word & 0x8080808080808080ULL;
            if (high == 0) {
                i += sizeof word;
                continue;
            }
            if constexpr (std::endian::native == std::endian::little)
                i += static_cast<std::size_t>(std::countr_zero(high)) / 8;
            break;
        }
        if (i >= size) break;
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;   // overlong
            if (lead == 0xED) high = 0x9F;  // surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;   // overlong
            if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
        } else {
            return false;
        }
        if (length > size - i) return false;
        if (bytes[i + 1] < low || bytes[i + 1] > high) return false;
        for (std::size_t k = 2; k < length; ++k)
            if ((bytes[i + k] & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

}  // namespace engine::detail
