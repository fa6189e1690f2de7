#pragma once
// A fresh folder for one test, removed with everything in it afterwards.

#include <filesystem>
#include <string>
#include <vector>

namespace test_support {

// A file's bytes, to tell an untouched file from a rewritten one.
std::string FileBytes(const std::filesystem::path& path);

// The names in a folder, sorted.
std::vector<std::string> SortedEntries(const std::filesystem::path& folder);

class TempFolder {
public:
    TempFolder();
    explicit TempFolder(const std::filesystem::path& parent);  // made inside parent
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // With the trailing separator that a folder searched for files carries.
    std::string folder() const { return path_.string() + "/"; }
    std::vector<std::string> entries() const;  // names in the folder, sorted

private:
    std::filesystem::path path_;
};

}  // namespace test_support
