#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "db/TovaskADODB/database_error.h"
#include "db/TovaskADODB/messages.h"
#include "db/TovaskADODB/tovask_ado_base.h"
#include "db/engine/writer_hold.h"

namespace TovaskADODB {

namespace {

std::string SystemMessage(const std::string& what, const std::string& path, int error)
{
    return what + " " + path + ": " + std::strerror(error);
}

// A fresh name "mdbXXXXXX.tmp" in folder, free at the time of asking (the file made to
// reserve it is deleted at once: the compaction writes a file of its own there).
std::string UniqueTemporaryName(const std::filesystem::path& folder)
{
    std::string pattern = (folder / "mdbXXXXXX.tmp").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkstemps(buffer.data(), 4);
    if (fd < 0) DatabaseError(SystemMessage("Nie można utworzyć pliku tymczasowego w", folder.string(), errno));
    ::close(fd);
    std::string name(buffer.data());
    ::unlink(name.c_str());
    return name;
}

void SyncFolder(const std::filesystem::path& folder)
{
    const std::string name = folder.empty() ? std::string(".") : folder.string();
    const int fd = ::open(name.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) DatabaseError(SystemMessage("Nie można otworzyć folderu", name, errno));
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (result != 0) DatabaseError(SystemMessage("Nie można zapisać folderu", name, error));
}

// A link named like the catalogue must stay a link: the copy replaces the file it
// points to, beside that file. A name that does not resolve is used as given.
std::string FileBehindLinks(const std::string& fileName)
{
    std::error_code error;
    const auto resolved = std::filesystem::canonical(fileName, error);
    return error ? fileName : resolved.string();
}

// Removes the temporary file however the replacement ends, unless it was renamed.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string name) : name_(std::move(name)) {}
    ~TemporaryFile()
    {
        if (!name_.empty()) ::unlink(name_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::string& name() const { return name_; }
    void release() { name_.clear(); }

private:
    std::string name_;
};

}  // namespace

void TTovaskADOBase::Compact(const std::string& linkOrFileName, const std::string& password)
{
    if (!engine_) DatabaseError(Messages::NoDaoVersion);
    const std::string fileName = FileBehindLinks(linkOrFileName);
    // The copy must sit in the file's own folder so that the rename replaces it atomically.
    const std::filesystem::path folder = std::filesystem::path(fileName).parent_path();
    // SQLite forbids replacing a database file that is open in this process.
    if (engine::isFileOpenInProcess(fileName)) DatabaseError(Messages::BaseOpen);
    // From the start of the copy to the rename other programs may read the file but
    // not write it: a write committed in between would go to the file the rename
    // throws away.
    const engine::WriterHold hold(fileName);
    TemporaryFile temporary(UniqueTemporaryName(folder));
    const std::string connect = password.empty() ? std::string() : ";pwd=" + password;

    engine_->compactDatabase(fileName, temporary.name(), connect);

    struct stat original {};
    // Keeping the file's permissions is a courtesy; the copy is sound without it.
    if (::stat(fileName.c_str(), &original) == 0) (void)::chmod(temporary.name().c_str(), original.st_mode & 07777);
    if (std::rename(temporary.name().c_str(), fileName.c_str()) != 0)
        DatabaseError(SystemMessage("Nie można zastąpić pliku", fileName, errno));
    temporary.release();
    SyncFolder(folder);
}

}  // namespace TovaskADODB
