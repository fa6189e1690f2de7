#include "db/access/jet_values.h"

#include <cmath>
#include <cstdio>

#include "db/engine/value_text.h"
#include "db/engine/variant.h"

namespace accessdb::detail {
namespace {

// Writes c at out and returns the end of what it wrote (1 to 4 bytes).
char* putUtf8(char32_t c, char* out)
{
    if (c < 0x80) {
        *out++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (c >> 18));
        *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// UTF-16 code units, surrogates paired; a lone surrogate is no text. Writes
// into room made beforehand: texts are most of an Access file, and this is
// the converter's inner loop.
class Utf16Decoder {
public:
    explicit Utf16Decoder(char* out) : out_(out) {}
    bool unit(char16_t u)
    {
        if (high_) {
            if (u < 0xDC00 || u > 0xDFFF) return false;
            out_ = putUtf8(0x10000 + ((static_cast<char32_t>(high_) - 0xD800) << 10) + (u - 0xDC00), out_);
            high_ = 0;
            return true;
        }
        if (u >= 0xD800 && u <= 0xDBFF) {
            high_ = u;
            return true;
        }
        if (u >= 0xDC00 && u <= 0xDFFF) return false;
        out_ = putUtf8(u, out_);
        return true;
    }
    // A compressed character: never a surrogate, nor the second half of a pair.
    bool latin1(unsigned char c)
    {
        if (high_) return false;
        if (c < 0x80) {
            *out_++ = static_cast<char>(c);
        } else {
            *out_++ = static_cast<char>(0xC0 | (c >> 6));
            *out_++ = static_cast<char>(0x80 | (c & 0x3F));
        }
        return true;
    }
    bool done() const { return high_ == 0; }
    char* end() const { return out_; }

private:
    char* out_;
    char16_t high_ = 0;
};

char16_t unitAt(std::string_view bytes, std::size_t at)
{
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[at]) |
                                 (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

// Days from 1970-01-01 to the civil date, and back (proleptic Gregorian).
void civilFromDays(std::int64_t z, int& year, int& month, int& day)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2 ? 1 : 0));
}

constexpr std::int64_t daysFrom1970To1899_12_30 = -25569;
constexpr double msPerDay = 86400000.0;

}  // namespace

bool appendJetText(std::string_view bytes, std::string& out)
{
    // A byte gives at most two bytes of UTF-8 (a compressed Latin-1 letter);
    // two bytes at most three, four (a surrogate pair) four.
    const std::size_t start = out.size();
    out.resize(start + 2 * bytes.size());
    Utf16Decoder decoder(out.data() + start);
    const bool decoded = [&] {
        if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
            static_cast<unsigned char>(bytes[1]) == 0xFE) {
            // Compressed: one byte a character, until a 0 byte switches to two
            // bytes a character, until the next 0 byte switches back.
            bool compressed = true;
            std::size_t at = 2;
            while (at < bytes.size()) {
                if (bytes[at] == '\0') {
                    compressed = !compressed;
                    ++at;
                } else if (compressed) {
                    if (!decoder.latin1(static_cast<unsigned char>(bytes[at]))) return false;
                    ++at;
                } else {
                    if (at + 1 >= bytes.size() || !decoder.unit(unitAt(bytes, at))) return false;
                    at += 2;
                }
            }
            return decoder.done();
        }
        if (bytes.size() % 2 != 0) return false;
        for (std::size_t at = 0; at < bytes.size(); at += 2)
            if (!decoder.unit(unitAt(bytes, at))) return false;
        return decoder.done();
    }();
    out.resize(decoded ? static_cast<std::size_t>(decoder.end() - out.data()) : start);
    return decoded;
}

DateProblem jetDateText(double value, std::string& out)
{
    if (!std::isfinite(value)) return DateProblem::NotFinite;
    // Jet's range: 100-01-01 to 9999-12-31 23:59:59.999.
    if (value < -657434.0 || value >= 2958466.0) return DateProblem::OutOfRange;
    double whole = std::trunc(value);
    auto ms = static_cast<std::int64_t>(std::llround(std::fabs(value - whole) * msPerDay));
    // The millisecond named must give the stored value back, but for the
    // double's own rounding (under a microsecond).
    const double back =
        value < 0 ? whole - static_cast<double>(ms) / msPerDay : whole + static_cast<double>(ms) / msPerDay;
    if (std::fabs(back - value) * msPerDay * 1000.0 >= 1.0) return DateProblem::FractionOfMillisecond;
    if (ms == 86400000) {
        // 24:00 is the next day's 00:00, before 1899-12-30 as after.
        whole += 1.0;
        ms = 0;
    }
    engine::DateTime date;
    civilFromDays(static_cast<std::int64_t>(whole) + daysFrom1970To1899_12_30, date.year, date.month, date.day);
    date.hour = static_cast<int>(ms / 3600000);
    date.minute = static_cast<int>(ms / 60000 % 60);
    date.second = static_cast<int>(ms / 1000 % 60);
    date.millisecond = static_cast<int>(ms % 1000);
    if (date.year < 100 || date.year > 9999) return DateProblem::OutOfRange;
    engine::detail::formatStoredDateTime(date, out);
    return DateProblem::None;
}

std::string guidText(const unsigned char* b)
{
    char text[39];
    std::snprintf(text, sizeof text, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[3],
                  b[2], b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
    return text;
}

}  // namespace accessdb::detail
