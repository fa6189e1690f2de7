#include "db/access/conversion_folder.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "db/TovaskADODB/database_error.h"
#include "db/TovaskADODB/folder_entries.h"
#include "db/engine/catalogue_file.h"

namespace accessdb {

namespace {

using TovaskADODB::FileDescriptor;

constexpr std::string_view kPrefix = ".vidarkon-konwersja-";
constexpr mode_t kFolderMode = 0700;
// The conversion's own folders nest (the converter's, the compaction's); no deeper.
constexpr int kDeepestNesting = 4;

// Empties an open folder of this run's own making, through descriptors only.
void RemoveContents(int folder, int depth) noexcept
{
    try {
        for (const auto& name : TovaskADODB::FolderEntryNames(folder)) {
            struct stat info {};
            if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
            if (S_ISDIR(info.st_mode)) {
                if (depth >= kDeepestNesting || info.st_uid != ::geteuid()) continue;
                const FileDescriptor inner(
                    ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
                if (inner.valid()) RemoveContents(inner.get(), depth + 1);
                ::unlinkat(folder, name.c_str(), AT_REMOVEDIR);
            } else {
                ::unlinkat(folder, name.c_str(), 0);
            }
        }
    } catch (const std::bad_alloc&) {  // what is left, the next run removes
    }
}

void RemoveIfStale(int folder, const std::string& name)
{
    struct stat info {};
    const FileDescriptor own = TovaskADODB::LockLeftoverFolder(folder, name, kFolderMode, info);
    if (!own.valid()) return;
    RemoveContents(own.get(), 1);
    TovaskADODB::RemoveFolderIfSame(folder, name, info);
}

[[noreturn]] void FolderError(const std::string& folder, int error)
{
    throw TovaskADODB::EDatabaseError("nie daje się utworzyć folderu roboczego w " + folder + ": " +
                                      std::strerror(error));
}

}  // namespace

ConversionFolder::ConversionFolder(const std::string& folder)
    : folder_(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (!folder_.valid()) FolderError(folder, errno);
    // A run removing leftovers may take a folder made here before it is
    // locked; it is then gone, and another is made.
    for (int attempt = 0; attempt < 10; ++attempt) {
        std::string name = std::string(kPrefix) + "XXXXXX";
        std::string pattern = engine::detail::descriptorPath(folder_.get(), name);
        if (::mkdtemp(pattern.data()) == nullptr) FolderError(folder, errno);
        name_ = pattern.substr(pattern.size() - name.size());
        own_.reset(::openat(folder_.get(), name_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!own_.valid() || ::fstat(own_.get(), &ownInfo_) != 0) FolderError(folder, errno);
        if (ownInfo_.st_uid != ::geteuid()) {  // not the folder just made, nor this run's to touch
            own_.reset();
            FolderError(folder, EEXIST);
        }
        // The umask may have cut mkdtemp's mode; a leftover is known by exactly this one.
        if (::fchmod(own_.get(), kFolderMode) != 0) {
            const int error = errno;
            Remove();
            FolderError(folder, error);
        }
        while (::flock(own_.get(), LOCK_EX) != 0 && errno == EINTR) {}
        struct stat now {};
        if (::fstat(own_.get(), &now) == 0 && now.st_nlink > 0) return;
        own_.reset();
    }
    FolderError(folder, EAGAIN);
}

ConversionFolder::~ConversionFolder()
{
    Remove();
}

std::string ConversionFolder::PathOf(const std::string& name) const
{
    return engine::detail::descriptorPath(own_.get(), name);
}

void ConversionFolder::Remove() noexcept
{
    if (!own_.valid()) return;
    RemoveContents(own_.get(), 1);
    TovaskADODB::RemoveFolderIfSame(folder_.get(), name_, ownInfo_);
    // Under another name, should someone in the folder have renamed it: found by its inode.
    struct stat now {};
    if (::fstat(own_.get(), &now) == 0 && now.st_nlink > 0) {
        try {
            for (const auto& name : TovaskADODB::FolderEntryNames(folder_.get()))
                TovaskADODB::RemoveFolderIfSame(folder_.get(), name, ownInfo_);
        } catch (const std::bad_alloc&) {  // empty by now; the next run removes it
        }
    }
    own_.reset();
}

void RemoveStaleConversionFolders(const std::string& folder)
{
    const FileDescriptor listed(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!listed.valid()) return;
    try {
        for (const auto& name : TovaskADODB::FolderEntryNames(listed.get()))
            if (TovaskADODB::IsPrivateFolderName(name, kPrefix)) RemoveIfStale(listed.get(), name);
    } catch (const std::bad_alloc&) {  // the next run tries again
    }
}

}  // namespace accessdb
