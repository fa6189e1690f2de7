#pragma once
#include <optional>
#include <string>
#include <vector>

namespace patch {

// The first table name that equals wanted with letter case ignored, as stored.
std::optional<std::string> FindTable(const std::vector<std::string>& names, const std::string& wanted);

}  // namespace patch
