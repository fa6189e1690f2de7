#pragma once
// Text forms of values as the catalogue files and the Polish user see them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "db/engine/variant.h"

namespace engine::detail {

bool isValidDateTime(const DateTime& value);
// "YYYY-MM-DD HH:MM:SS", with ".mmm" only when the milliseconds are not 0.
void formatStoredDateTime(const DateTime& value, std::string& out);
std::string storedDateTimeText(const DateTime& value);
// "YYYY-MM-DD", with " HH:MM:SS" when the time is not midnight.
std::string dateTimeDisplayText(const DateTime& value);
// "YYYY-MM-DD" with an optional time "HH:MM[:SS[.fraction]]" after ' ' or 'T'.
std::optional<DateTime> parseIsoDateTime(std::string_view text);

// Shortest text that reads back the same double, with a decimal comma.
std::optional<std::string> doubleText(double value);
// Optional sign and decimal digits, surrounding spaces allowed; nullopt when
// not an integer or out of the 32-bit range.
std::optional<std::int32_t> parseInteger(std::string_view text);
// A decimal number with '.' or ',' as the decimal separator.
std::optional<double> parseDouble(std::string_view text);
// Rounded half to even; nullopt outside the 32-bit range or when not finite.
std::optional<std::int32_t> roundToInteger(double value);

// Unicode code points in UTF-8 text.
// True for well-formed UTF-8: no stray or missing continuation bytes, no
// overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view text);
std::size_t codePointCount(std::string_view text);

}  // namespace engine::detail
