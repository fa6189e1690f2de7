#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace utils {

// Names of the folder's entries that match mask (letter case ignored), each
// followed by CR LF, in name order with letter case ignored. folder ends in '/'.
// A plain directory is skipped; a missing or unreadable folder gives "".
// A name holding CR or LF cannot be carried by such a list and is left out.
std::string ListFiles(const std::string& folder, const std::string& mask, bool removeExtensions);

// The matching names that ListFiles leaves out because they hold CR or LF.
std::vector<std::string> NamesWithLineBreaks(const std::string& folder, const std::string& mask);

// The name without its last dot and what follows it.
std::string RemoveFileExt(const std::string& fileName);

// Windows file attribute bits as ListFiles derives them from POSIX.
enum FileAttribute : std::uint32_t {
    kAttrReadOnly = 1,
    kAttrHidden = 2,
    kAttrDirectory = 16,
    kAttrArchive = 32,
};

// Attribute word of folder + name, following a symbolic link; a dangling link
// counts as a plain file. 0 for an entry that is neither a file nor a folder
// (device, pipe, socket), which ListFiles leaves out.
std::uint32_t FileAttributeWord(const std::string& folder, const std::string& name);

}  // namespace utils
