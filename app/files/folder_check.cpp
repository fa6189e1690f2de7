#include "app/files/folder_check.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace utils {

std::optional<std::string> FolderProblem(const std::string& folder)
{
    const std::string quoted = "„" + folder + "”";
    struct stat info {};
    if (folder.empty() || ::stat(folder.c_str(), &info) != 0) {
        if (errno == EACCES) return "Brak dostępu do folderu " + quoted + ".";
        return "Folder " + quoted + " nie istnieje.";
    }
    if (!S_ISDIR(info.st_mode)) return quoted + " nie jest folderem.";
    // Listing needs read permission; telling files from folders needs search permission.
    if (::access(folder.c_str(), R_OK | X_OK) != 0) return "Brak uprawnień do odczytu folderu " + quoted + ".";
    return std::nullopt;
}

}  // namespace utils
