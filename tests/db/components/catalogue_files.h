#pragma once
// Catalogue files for the component tests, made and inspected with SQLite
// directly, bypassing the components.

#include <filesystem>
#include <string>
#include <vector>

namespace components_test {

// A fresh folder, removed with everything in it at the end of the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::vector<std::string> entries() const;  // names in the folder, sorted

private:
    std::filesystem::path path_;
};

// Runs the statements in the file, creating it if needed.
void MakeCatalogue(const std::string& path, const std::string& sql);
// components/loans_catalogue.sql of the test data.
void MakeLoansCatalogue(const std::string& path);

// A one-column query; every value as text, null as "<null>".
std::vector<std::string> QueryColumn(const std::string& path, const std::string& sql);
// The SQLite indexes that hold the indexes of table ("T.I"), sorted.
std::vector<std::string> StoredIndexNames(const std::string& path, const std::string& table);

std::string ReadBytes(const std::string& path);

}  // namespace components_test
