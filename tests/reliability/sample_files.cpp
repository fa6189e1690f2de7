#include "tests/reliability/sample_files.h"

namespace reliability {

void WriteSampleFiles(const std::filesystem::path& folder, const std::vector<SampleFile>& files,
                      std::uint64_t firstSeed)
{
    std::uint64_t seed = firstSeed;
    for (const auto& file : files) {
        sample::SampleOptions options;
        options.level = file.level;
        options.films = file.films;
        options.loans = file.films / 2;
        options.seed = seed++;
        options.format = file.format;
        sample::WriteSampleCatalogue(folder / file.name, options);
    }
}

}  // namespace reliability
