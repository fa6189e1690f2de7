#pragma once
#include <string>

namespace patch {

// "%s" replaced by each argument in turn.
std::string FormatText(std::string text, const std::string& first, const std::string& second = {});

}  // namespace patch
