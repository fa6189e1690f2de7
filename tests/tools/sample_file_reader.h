#pragma once
// Reads generated catalogue files with SQLite alone, independently of the
// generator's own structure tables, and a temporary folder for them.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/sqlite_file.h"
#include "tests/support/temp_folder.h"

namespace sample_test {

using TempFolder = test_support::TempFolder;

struct ColumnInfo {
    std::string name;
    std::string type;  // declared type
    bool operator==(const ColumnInfo&) const = default;
};

struct IndexInfo {
    std::string name;
    std::vector<std::string> columns;
    bool unique;
};

class CatalogueReader {
public:
    explicit CatalogueReader(const std::filesystem::path& file) : file_(file.string()) {}  // read-only

    std::vector<std::string> tables() const;  // sorted, sqlite_ tables left out
    std::vector<ColumnInfo> columns(const std::string& table) const;
    std::vector<IndexInfo> indexes(const std::string& table) const;  // sorted by name
    std::int64_t integer(const std::string& sql) const;              // first column of the first row
    std::string text(const std::string& sql) const;                  // "<null>" for null
    std::vector<std::string> texts(const std::string& sql) const;    // first column, every row

private:
    test_support::SqliteFile file_;
};

// One file of each level ("<level>.mdb", 300 films, 150 loans, seed 7),
// written once per test program.
const TempFolder& EveryLevelFolder();
constexpr int everyLevelFilms = 300;
constexpr int everyLevelLoans = 150;

}  // namespace sample_test
