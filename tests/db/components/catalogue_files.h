#pragma once
// Catalogue files for the component tests, made and inspected with SQLite
// directly, bypassing the components.

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace components_test {

using TempFolder = test_support::TempFolder;
using test_support::FileBytes;

// Runs the statements in the file, creating it if needed.
void MakeCatalogue(const std::string& path, const std::string& sql);
// components/loans_catalogue.sql of the test data.
void MakeLoansCatalogue(const std::string& path);

// A one-column query; every value as text, null as "<null>".
std::vector<std::string> QueryColumn(const std::string& path, const std::string& sql);
// The SQLite indexes that hold the indexes of table ("T.I"), sorted.
std::vector<std::string> StoredIndexNames(const std::string& path, const std::string& table);

}  // namespace components_test
