#include "tests/patch/catalogue_folder.h"

#include <fstream>
#include <sstream>

namespace patch_test {

std::string CatalogueFolder::Add(const std::string& fileName, sample::Level level, int films, int loans,
                                 const sample::TableNames& names)
{
    sample::SampleOptions options;
    options.level = level;
    options.films = films;
    options.loans = loans;
    options.tableNames = names;
    const auto path = folder_ / fileName;
    sample::WriteSampleCatalogue(path, options);
    return path.string();
}

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace patch_test
