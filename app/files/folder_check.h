#pragma once
#include <optional>
#include <string>

namespace utils {

// What keeps a folder given on the command line from being searched, in Polish
// and naming the folder; nothing when it can be listed and its entries examined.
std::optional<std::string> FolderProblem(const std::string& folder);

}  // namespace utils
