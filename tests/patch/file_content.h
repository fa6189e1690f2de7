#pragma once
// The whole content of a catalogue file as text, to compare a file with itself
// before and after: every table's definition, indexes and rows.

#include <optional>
#include <string>
#include <vector>

namespace patch_test {

std::string DumpContent(const std::string& path);

// Rows of a query as texts; a null is nullopt.
using Cell = std::optional<std::string>;
std::vector<std::vector<Cell>> QueryRows(const std::string& path, const std::string& sql);
// Runs statements on the file directly, outside the engine.
void ExecuteSql(const std::string& path, const std::string& sql);
// SQLite's own integrity check: "ok" for a sound file.
std::string IntegrityCheck(const std::string& path);

}  // namespace patch_test
