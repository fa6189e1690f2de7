#include "db/TovaskADODB/folder_entries.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <memory>

namespace TovaskADODB {

std::vector<std::string> FolderEntryNames(int folder)
{
    std::vector<std::string> names;
    const int fd = ::fcntl(folder, F_DUPFD_CLOEXEC, 0);
    if (fd < 0) return names;
    std::unique_ptr<DIR, int (*)(DIR*)> listing(::fdopendir(fd), ::closedir);
    if (!listing) {
        ::close(fd);
        return names;
    }
    ::rewinddir(listing.get());
    while (const dirent* entry = ::readdir(listing.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
    return names;
}

FileDescriptor LockLeftoverFolder(int parent, const std::string& name, mode_t mode, struct stat& info)
{
    FileDescriptor own(::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!own.valid() || ::fstat(own.get(), &info) != 0 || info.st_uid != ::geteuid() ||
        (info.st_mode & 07777) != mode || ::flock(own.get(), LOCK_EX | LOCK_NB) != 0)
        own.reset();
    return own;
}

void RemoveFolderIfSame(int parent, const std::string& name, const struct stat& examined) noexcept
{
    struct stat current {};
    if (::fstatat(parent, name.c_str(), &current, AT_SYMLINK_NOFOLLOW) == 0 && current.st_dev == examined.st_dev &&
        current.st_ino == examined.st_ino)
        ::unlinkat(parent, name.c_str(), AT_REMOVEDIR);
}

bool SameFileState(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

bool IsPrivateFolderName(std::string_view name, std::string_view prefix)
{
    constexpr std::size_t randomLength = 6;  // mkdtemp's XXXXXX
    if (name.size() != prefix.size() + randomLength || !name.starts_with(prefix)) return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    });
}

}  // namespace TovaskADODB
