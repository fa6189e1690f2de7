#include "db/TovaskADODB/compaction_folder.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "db/TovaskADODB/database_error.h"

namespace TovaskADODB {

namespace {

constexpr std::string_view kPrefix = ".vidarkon-kompaktowanie-";
constexpr const char* kCopyName = "kopia";
constexpr const char* kCopyJournalName = "kopia-journal";  // SQLite's, while the copy is changed
constexpr mode_t kFolderMode = 0700;

std::function<void(const std::string&)>& Hook()
{
    static std::function<void(const std::string&)> hook;
    return hook;
}

std::string SystemMessage(const std::string& what, const std::string& path, int error)
{
    return what + " " + path + ": " + std::strerror(error);
}

}  // namespace

CompactionFolder::CompactionFolder(const std::filesystem::path& catalogueFolder)
    : catalogueFolder_(catalogueFolder.empty() ? std::string(".") : catalogueFolder.string()),
      folder_(::open(catalogueFolder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (!folder_.valid()) DatabaseError(SystemMessage("Nie można otworzyć folderu", catalogueFolder_, errno));
    std::string pattern = (std::filesystem::path(catalogueFolder_) / kPrefix).string() + "XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr)
        DatabaseError(SystemMessage("Nie można utworzyć folderu tymczasowego w", catalogueFolder_, errno));
    name_ = std::filesystem::path(pattern).filename().string();
    own_.reset(::openat(folder_.get(), name_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    // The umask may have cut mkdtemp's mode.
    if (!own_.valid() || ::fchmod(own_.get(), kFolderMode) != 0 || ::fstat(own_.get(), &info) != 0) {
        const int error = errno;
        Remove();
        DatabaseError(SystemMessage("Nie można utworzyć folderu tymczasowego w", catalogueFolder_, error));
    }
    if (info.st_uid != ::geteuid()) {  // not the folder just made: the name was taken meanwhile
        own_.reset();
        DatabaseError(SystemMessage("Nie można utworzyć folderu tymczasowego w", catalogueFolder_, EEXIST));
    }
    copyPath_ = (std::filesystem::path(catalogueFolder_) / name_ / kCopyName).string();
    if (const auto& hook = Hook()) hook(copyPath_);
}

CompactionFolder::~CompactionFolder()
{
    Remove();
}

void CompactionFolder::ReplaceWithCopy(const std::string& fileName)
{
    struct stat original {};
    // Keeping the file's owner and permissions is a courtesy; the copy is sound without them.
    if (::fstatat(folder_.get(), fileName.c_str(), &original, 0) == 0) {
        (void)::fchownat(own_.get(), kCopyName, original.st_uid, original.st_gid, AT_SYMLINK_NOFOLLOW);
        (void)::fchmodat(own_.get(), kCopyName, original.st_mode & 07777, 0);
    }
    const std::string target = (std::filesystem::path(catalogueFolder_) / fileName).string();
    if (::renameat(own_.get(), kCopyName, folder_.get(), fileName.c_str()) != 0)
        DatabaseError(SystemMessage("Nie można zastąpić pliku", target, errno));
    // Empty now.
    Remove();
    if (::fsync(folder_.get()) != 0) DatabaseError(SystemMessage("Nie można zapisać folderu", catalogueFolder_, errno));
}

void CompactionFolder::Remove() noexcept
{
    if (removed_ || name_.empty()) return;
    if (own_.valid()) {
        ::unlinkat(own_.get(), kCopyName, 0);
        ::unlinkat(own_.get(), kCopyJournalName, 0);
    }
    removed_ = ::unlinkat(folder_.get(), name_.c_str(), AT_REMOVEDIR) == 0;
}

void SetCompactionFolderHook(std::function<void(const std::string& copyPath)> hook)
{
    Hook() = std::move(hook);
}

}  // namespace TovaskADODB
