#pragma once
// A temporary folder of sample catalogues for the patch run's tests.

#include <filesystem>
#include <string>

#include "tests/support/temp_folder.h"
#include "tools/sample/sample_catalogue.h"

namespace patch_test {

class CatalogueFolder {
public:
    // The folder as the run takes it, ending in '/'.
    std::string Folder() const { return folder_.folder(); }
    std::string PathOf(const std::string& fileName) const { return folder_.file(fileName); }

    // Writes fileName at level with films and loans rows; returns its path.
    std::string Add(const std::string& fileName, sample::Level level, int films = 20, int loans = 10,
                    const sample::TableNames& names = {});

private:
    test_support::TempFolder folder_;
};

// The file's bytes, to tell an untouched file from a rewritten one.
std::string FileBytes(const std::string& path);

}  // namespace patch_test
