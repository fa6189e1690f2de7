#pragma once
// Text sizes of the catalogue count characters (code points), not bytes.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace sample {

std::size_t CodePoints(std::string_view text);

// The items joined by separator, as many from the front as fit in maxChars;
// at least the first item, cut at a character boundary when it alone is too long.
std::string JoinWithin(std::span<const std::string> items, std::string_view separator, std::size_t maxChars);

// First letter upper case; knows the Polish letters.
std::string CapitalizeFirst(std::string text);

}  // namespace sample
