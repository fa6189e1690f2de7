#pragma once
// "Provider=...;Mode=ReadWrite;Data Source=<path>" and its quoted form
// Data Source="<path>" for paths that hold ';' (a '"' inside is doubled).

#include <optional>
#include <string>
#include <string_view>

namespace engine {

// The path after the first "Data Source=" (exact case): up to the next ';' or the
// end, or the whole quoted value. nullopt when the string has no "Data Source=".
std::optional<std::string> dataSourceOf(std::string_view connectionString);

// The path as a Data Source value: unchanged when it needs no quoting.
std::string quoteDataSource(std::string_view path);

}  // namespace engine
