#pragma once
// Jet 4's stored forms of texts and dates, turned into the documented
// format's; nullopt where that cannot be done exactly.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace accessdb::detail {

// Jet 4 text: UTF-16LE, or its compressed form (starting FF FE). Appends the
// UTF-8 text to out; false for bytes that are no valid text.
bool appendJetText(std::string_view bytes, std::string& out);

enum class DateProblem { None, NotFinite, OutOfRange, FractionOfMillisecond };

// A Jet date (days from 1899-12-30; the fraction is the time of day, also for
// days before it) as "YYYY-MM-DD HH:MM:SS[.mmm]"; the value must be within a
// microsecond of a whole millisecond and in the years 100 to 9999.
DateProblem jetDateText(double value, std::string& out);

// A GUID's 16 bytes as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
std::string guidText(const unsigned char* bytes);

}  // namespace accessdb::detail
