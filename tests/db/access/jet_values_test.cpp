// Jet 4's stored texts and dates turned into the catalogue format's.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "db/access/jet_values.h"

namespace {

using accessdb::detail::appendJetText;
using accessdb::detail::DateProblem;
using accessdb::detail::jetDateText;

std::string Text(std::string_view bytes)
{
    std::string out;
    return appendJetText(bytes, out) ? out : "<refused>";
}

TEST(JetText, PlainAndCompressedFormsGiveTheSameTextAndBrokenOnesAreRefused)
{
    using namespace std::string_literals;
    // "Łódź" in UTF-16LE: Ł U+0141, ó U+00F3, d, ź U+017A.
    EXPECT_EQ(Text("\x41\x01\xF3\x00\x64\x00\x7A\x01"s), "Łódź");
    // Compressed: ó and d one byte each; a 0 byte switches to two bytes a
    // character for Ł and ź, and back.
    EXPECT_EQ(Text("\xFF\xFE\x00\x41\x01\x00\xF3\x64\x00\x7A\x01"s), "Łódź");
    EXPECT_EQ(Text("\xFF\xFE"s), "");
    EXPECT_EQ(Text("\x3D\xD8\x00\xDE"s), "\xF0\x9F\x98\x80");  // a pair of surrogates: U+1F600
    EXPECT_EQ(Text("\x3D\xD8"s), "<refused>");                 // a lone high surrogate
    EXPECT_EQ(Text("\x00\xDE\x41\x00"s), "<refused>");         // a lone low surrogate
    EXPECT_EQ(Text("\x41\x00\x42"s), "<refused>");             // half a character
    EXPECT_EQ(Text("\xFF\xFE\x00\x41"s), "<refused>");         // half a character after a switch
}

std::string Date(double value)
{
    std::string out;
    switch (jetDateText(value, out)) {
    case DateProblem::None: return out;
    case DateProblem::NotFinite: return "<not finite>";
    case DateProblem::OutOfRange: return "<out of range>";
    case DateProblem::FractionOfMillisecond: return "<fraction>";
    }
    return "?";
}

TEST(JetDate, DaysAndTimeBecomeTheFormatsTextToTheMillisecondAndNoFurther)
{
    EXPECT_EQ(Date(0.0), "1899-12-30 00:00:00");
    EXPECT_EQ(Date(36526.5), "2000-01-01 12:00:00");
    EXPECT_EQ(Date(2.0 + (13 * 3600 + 14 * 60 + 15) / 86400.0), "1900-01-01 13:14:15");
    EXPECT_EQ(Date(1.0 + 500 / 86400000.0), "1899-12-31 00:00:00.500");
    // Before 1899-12-30 the fraction still counts forward from midnight.
    EXPECT_EQ(Date(-1.25), "1899-12-29 06:00:00");
    EXPECT_EQ(Date(-0.5), "1899-12-30 12:00:00");
    // A time a hair under midnight, as a double's rounding leaves it, is midnight.
    EXPECT_EQ(Date(std::nextafter(3.0, 0.0)), "1900-01-02 00:00:00");
    EXPECT_EQ(Date(2958465.0 + 86399.0 / 86400.0), "9999-12-31 23:59:59");
    EXPECT_EQ(Date(-657434.0), "0100-01-01 00:00:00");

    EXPECT_EQ(Date(0.5 + 1e-9), "<fraction>");  // 86 microseconds past noon
    EXPECT_EQ(Date(2958466.0), "<out of range>");
    EXPECT_EQ(Date(-657435.0), "<out of range>");
    EXPECT_EQ(Date(std::numeric_limits<double>::quiet_NaN()), "<not finite>");
    EXPECT_EQ(Date(std::numeric_limits<double>::infinity()), "<not finite>");
}

}  // namespace
