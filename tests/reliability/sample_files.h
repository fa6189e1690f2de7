#pragma once
// Folders of sample catalogues at several levels, for the kill and crash tests.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/sample/sample_catalogue.h"

namespace reliability {

struct SampleFile {
    std::string name;
    sample::Level level;
    int films;
    sample::FileFormat format = sample::FileFormat::Sqlite;
};

// Writes each file into folder with half as many loans as films, seeded
// firstSeed, firstSeed + 1, ... in the order given.
void WriteSampleFiles(const std::filesystem::path& folder, const std::vector<SampleFile>& files,
                      std::uint64_t firstSeed);

}  // namespace reliability
