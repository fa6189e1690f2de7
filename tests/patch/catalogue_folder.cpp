#include "tests/patch/catalogue_folder.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace patch_test {

CatalogueFolder::CatalogueFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vk-patch-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

CatalogueFolder::~CatalogueFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string CatalogueFolder::Add(const std::string& fileName, sample::Level level, int films, int loans,
                                 const sample::TableNames& names)
{
    sample::SampleOptions options;
    options.level = level;
    options.films = films;
    options.loans = loans;
    options.tableNames = names;
    const auto path = path_ / fileName;
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
