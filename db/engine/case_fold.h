#pragma once
// Letter case folding for names: ASCII and the Latin letters of U+00C0..U+017F,
// which covers every Polish letter.

#include <string>
#include <string_view>

namespace engine::detail {

std::string foldCase(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);
bool startsWithIgnoringCase(std::string_view text, std::string_view prefix);

}  // namespace engine::detail
