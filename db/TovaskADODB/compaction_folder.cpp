#include "db/TovaskADODB/compaction_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <vector>

#include "db/TovaskADODB/database_error.h"
#include "db/TovaskADODB/folder_entries.h"
#include "db/engine/catalogue_file.h"

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

// A leftover is a killed compaction's beyond doubt when it is a real folder of
// this user with exactly the mode a compaction gives it, no process holds its
// lock (a lock dies with its process), and it holds nothing but the copy and
// the copy's journal. It is removed under the lock.
void RemoveIfStale(int folder, const std::string& name)
{
    struct stat info {};
    const FileDescriptor own = LockLeftoverFolder(folder, name, kFolderMode, info);
    if (!own.valid()) return;
    const auto entries = FolderEntryNames(own.get());
    for (const auto& entry : entries) {
        struct stat file {};
        if (entry != kCopyName && entry != kCopyJournalName) return;
        if (::fstatat(own.get(), entry.c_str(), &file, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(file.st_mode) ||
            file.st_uid != ::geteuid())
            return;
    }
    for (const auto& entry : entries) ::unlinkat(own.get(), entry.c_str(), 0);
    RemoveFolderIfSame(folder, name, info);
}

}  // namespace

CompactionFolder::CompactionFolder(const std::filesystem::path& catalogueFolder, const std::string& fileName)
    : catalogueFolder_(catalogueFolder.empty() ? std::string(".") : catalogueFolder.string()), fileName_(fileName),
      folder_(::open(catalogueFolder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (!folder_.valid()) DatabaseError(SystemMessage("Nie można otworzyć folderu", catalogueFolder_, errno));
    // A run removing leftovers may take a folder made here for one before it is
    // locked; the folder is then gone, and another is made.
    for (int attempt = 0; attempt < 10; ++attempt) {
        std::string pattern = (std::filesystem::path(catalogueFolder_) / kPrefix).string() + "XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr)
            DatabaseError(SystemMessage("Nie można utworzyć folderu tymczasowego w", catalogueFolder_, errno));
        name_ = std::filesystem::path(pattern).filename().string();
        removed_ = false;
        // The last use of its name: someone may have put something else under it already.
        own_.reset(::openat(folder_.get(), name_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        const bool opened = own_.valid() && ::fstat(own_.get(), &ownInfo_) == 0;
        if (opened && ownInfo_.st_uid != ::geteuid()) {  // not the folder just made, nor this run's to touch
            own_.reset();
            DatabaseError(SystemMessage("Nie można utworzyć folderu tymczasowego w", catalogueFolder_, EEXIST));
        }
        // The umask may have cut mkdtemp's mode; a leftover is known by exactly this one.
        if (!opened || ::fchmod(own_.get(), kFolderMode) != 0) {
            const int error = errno;
            Remove();
            DatabaseError(SystemMessage("Nie można utworzyć folderu tymczasowego w", catalogueFolder_, error));
        }
        // Without locks on this file system no run can prove the folder stale, and none removes it.
        while (::flock(own_.get(), LOCK_EX) != 0 && errno == EINTR) {}
        struct stat now {};
        if (::fstat(own_.get(), &now) == 0 && now.st_nlink > 0) {
            if (const auto& hook = Hook()) hook((std::filesystem::path(catalogueFolder_) / name_ / kCopyName).string());
            try {
                MakeCopy();
            } catch (...) {
                Remove();
                throw;
            }
            return;
        }
        removed_ = true;
    }
    DatabaseError(SystemMessage("Nie można utworzyć folderu tymczasowego w", catalogueFolder_, EAGAIN));
}

CompactionFolder::~CompactionFolder()
{
    Remove();
}

void CompactionFolder::MakeCopy()
{
    // SQLite must reach the folder through its descriptor too; without /proc it cannot.
    copyPath_ = engine::detail::descriptorPath(own_.get(), kCopyName);
    struct stat reached {};
    const std::string folderPath = std::filesystem::path(copyPath_).parent_path().string();
    if (::stat(folderPath.c_str(), &reached) != 0 || reached.st_dev != ownInfo_.st_dev ||
        reached.st_ino != ownInfo_.st_ino)
        DatabaseError(SystemMessage("Nie można utworzyć folderu tymczasowego w", catalogueFolder_, ENOTDIR));

    // Made with its final owner and mode before the first byte goes in: the copy
    // never lets anyone read more than the file does.
    const FileDescriptor copy(
        ::openat(own_.get(), kCopyName, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR));
    if (!copy.valid()) DatabaseError(SystemMessage("Nie można utworzyć kopii pliku w", catalogueFolder_, errno));
    struct stat original {};
    // A file that is not there fails the compaction itself, with its own cause.
    if (::fstatat(folder_.get(), fileName_.c_str(), &original, 0) == 0) {
        mode_t mode = original.st_mode & 0777;
        // The file's owner and group are kept where the system allows; a group
        // that cannot be kept gets none of the file's rights, and this user, when
        // not its owner, needs to write the copy.
        const bool ownerKept = ::fchown(copy.get(), original.st_uid, original.st_gid) == 0;
        const bool groupKept = ownerKept || ::fchown(copy.get(), static_cast<uid_t>(-1), original.st_gid) == 0;
        if (!groupKept) mode &= ~static_cast<mode_t>(S_IRWXG);
        if (!ownerKept) mode |= S_IRUSR | S_IWUSR;
        copyMode_ = mode;
    }
    if (::fchmod(copy.get(), copyMode_) != 0)
        DatabaseError(SystemMessage("Nie można utworzyć kopii pliku w", catalogueFolder_, errno));
}

void CompactionFolder::ReplaceWithCopy()
{
    const std::string target = (std::filesystem::path(catalogueFolder_) / fileName_).string();
    if (::renameat(own_.get(), kCopyName, folder_.get(), fileName_.c_str()) != 0)
        DatabaseError(SystemMessage("Nie można zastąpić pliku", target, errno));
    // Empty now; should this fail, the next run removes the folder.
    Remove();
    if (::fsync(folder_.get()) != 0)
        throw EFolderNotSynced(SystemMessage("Nie można zapisać folderu", catalogueFolder_, errno));
}

bool CompactionFolder::IsOwnFolder(const std::string& name) const
{
    struct stat info {};
    return ::fstatat(folder_.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode) &&
           info.st_dev == ownInfo_.st_dev && info.st_ino == ownInfo_.st_ino;
}

void CompactionFolder::Remove() noexcept
{
    if (removed_ || !own_.valid()) return;
    ::unlinkat(own_.get(), kCopyName, 0);
    ::unlinkat(own_.get(), kCopyJournalName, 0);
    struct stat now {};
    if (::fstat(own_.get(), &now) == 0 && now.st_nlink == 0) {  // someone removed it, empty
        removed_ = true;
        return;
    }
    // Under the name it was made with, or under any other that someone in the
    // folder gave it since: it is known by its inode, whatever name it has.
    if (IsOwnFolder(name_)) {
        removed_ = ::unlinkat(folder_.get(), name_.c_str(), AT_REMOVEDIR) == 0;
        return;
    }
    try {
        for (const auto& name : FolderEntryNames(folder_.get()))
            if (IsOwnFolder(name)) {
                removed_ = ::unlinkat(folder_.get(), name.c_str(), AT_REMOVEDIR) == 0;
                return;
            }
    } catch (const std::bad_alloc&) {  // the folder is empty; the next run removes it
    }
}

void RemoveStaleCompactionFolders(const std::string& folder)
{
    const FileDescriptor listed(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!listed.valid()) return;
    for (const auto& name : FolderEntryNames(listed.get()))
        if (IsPrivateFolderName(name, kPrefix)) RemoveIfStale(listed.get(), name);
}

void SetCompactionFolderHook(std::function<void(const std::string& copyPath)> hook)
{
    Hook() = std::move(hook);
}

}  // namespace TovaskADODB
