#include <cctype>
#include <stdexcept>

#include "tools/sample/access/access_table.h"

namespace sample::access {

namespace {

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

}  // namespace

DateTime MakeDateTime(int year, int month, int day, int hour, int minute, int second)
{
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 59)
        throw std::invalid_argument("no such date and time");
    const std::int64_t days =
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - daysFromCivil(1899, 12, 30);
    const double time = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    return {days >= 0 ? static_cast<double>(days) + time : static_cast<double>(days) - time};
}

Guid GuidFromText(const std::string& text)
{
    std::string hex;
    for (char c : text)
        if (std::isxdigit(static_cast<unsigned char>(c)))
            hex += c;
        else if (c != '-' && c != '{' && c != '}')
            throw std::invalid_argument("not a GUID: " + text);
    if (hex.size() != 32) throw std::invalid_argument("not a GUID: " + text);
    std::array<std::uint8_t, 16> plain{};
    for (std::size_t i = 0; i < 16; ++i)
        plain[i] = static_cast<std::uint8_t>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
    // The first three groups are stored little-endian.
    Guid guid;
    guid.bytes = plain;
    for (std::size_t i = 0; i < 4; ++i) guid.bytes[i] = plain[3 - i];
    guid.bytes[4] = plain[5];
    guid.bytes[5] = plain[4];
    guid.bytes[6] = plain[7];
    guid.bytes[7] = plain[6];
    return guid;
}

}  // namespace sample::access
