#include "app/files/file_utils.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "app/files/file_mask.h"

namespace utils {
namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

// The search pattern is folder and mask joined as they come, so a mask may
// itself carry a sub-folder; the last '/' splits folder from name mask.
struct SearchPattern {
    std::string folder;
    std::string nameMask;
};

SearchPattern SplitPattern(const std::string& pattern)
{
    const auto slash = pattern.rfind('/');
    if (slash == std::string::npos) return {"./", pattern};
    return {pattern.substr(0, slash + 1), pattern.substr(slash + 1)};
}

}  // namespace

std::uint32_t FileAttributeWord(const std::string& folder, const std::string& name)
{
    const std::string path = folder + name;
    std::uint32_t word = 0;
    struct stat info {};
    if (stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            word |= kAttrDirectory;
        } else if (S_ISREG(info.st_mode)) {
            word |= kAttrArchive;
        } else {
            return 0;
        }
        // Root may write anything, so a file nobody may write counts as read-only too.
        if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || access(path.c_str(), W_OK) != 0)
            word |= kAttrReadOnly;
    } else {
        // Dangling link, or a folder we may read but not search.
        word |= kAttrArchive;
    }
    if (!name.empty() && name.front() == '.') word |= kAttrHidden;
    return word;
}

namespace {

// Every entry the search finds, in name order with letter case ignored.
std::vector<std::string> MatchingNames(const std::string& folder, const std::string& mask)
{
    const SearchPattern pattern = SplitPattern(folder + mask);
    const DirHandle dir(opendir(pattern.folder.c_str()));
    if (!dir) return {};

    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (!MatchesFileMask(name, pattern.nameMask)) continue;
        const std::uint32_t word = FileAttributeWord(pattern.folder, name);
        if (word == 0 || word == kAttrDirectory) continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return FileNameLess(a, b); });
    return names;
}

bool HasLineBreak(const std::string& name)
{
    return name.find_first_of("\r\n") != std::string::npos;
}

}  // namespace

std::string ListFiles(const std::string& folder, const std::string& mask, bool removeExtensions)
{
    std::string result;
    for (const std::string& name : MatchingNames(folder, mask)) {
        if (HasLineBreak(name)) continue;
        result += removeExtensions ? RemoveFileExt(name) : name;
        result += "\r\n";
    }
    return result;
}

std::vector<std::string> NamesWithLineBreaks(const std::string& folder, const std::string& mask)
{
    auto names = MatchingNames(folder, mask);
    std::erase_if(names, [](const std::string& name) { return !HasLineBreak(name); });
    return names;
}

std::string RemoveFileExt(const std::string& fileName)
{
    const auto dot = fileName.rfind('.');
    return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

}  // namespace utils
