#include "db/access/lock_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "db/access/access_error.h"

namespace accessdb {

std::string lockFilePath(const std::string& accessPath)
{
    const auto slash = accessPath.find_last_of('/');
    const auto dot = accessPath.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasExtension ? accessPath.substr(0, dot) : accessPath) + ".ldb";
}

bool accessFileInUse(const std::string& accessPath)
{
    const std::string lock = lockFilePath(accessPath);
    const int fd = ::open(lock.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT) return false;
        throw EAccessRefused("nie daje się sprawdzić pliku blokady " + lock + ": " + std::strerror(errno));
    }
    struct flock probe {};
    probe.l_type = F_WRLCK;  // conflicts with a lock of any kind
    probe.l_whence = SEEK_SET;
    probe.l_start = 0;
    probe.l_len = 0;  // to the end and beyond: Jet locks bytes past the end
    int rc = ::fcntl(fd, F_OFD_GETLK, &probe);
    if (rc != 0 && errno == EINVAL) {
        probe = {};
        probe.l_type = F_WRLCK;
        probe.l_whence = SEEK_SET;
        rc = ::fcntl(fd, F_GETLK, &probe);
    }
    const int error = errno;
    ::close(fd);
    if (rc != 0) throw EAccessRefused("nie daje się sprawdzić pliku blokady " + lock + ": " + std::strerror(error));
    return probe.l_type != F_UNLCK;
}

}  // namespace accessdb
