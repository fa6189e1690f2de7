#include "tests/support/temp_folder.h"

#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace test_support {

TempFolder::TempFolder() : TempFolder(std::filesystem::temp_directory_path()) {}

TempFolder::TempFolder(const std::filesystem::path& parent)
{
    std::string pattern = (parent / "vk-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    path_ = std::filesystem::canonical(pattern);
}

TempFolder::~TempFolder()
{
    // Tests take rights away from the folder; give them back so that it goes.
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> SortedEntries(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> TempFolder::entries() const
{
    return SortedEntries(path_);
}

}  // namespace test_support
