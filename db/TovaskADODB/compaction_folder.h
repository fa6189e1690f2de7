#pragma once
// The private folder in which a compaction writes its copy, beside the catalogue,
// and the removal of those that a killed run left behind.

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>

#include "db/TovaskADODB/file_descriptor.h"

namespace TovaskADODB {

// A folder ".vidarkon-kompaktowanie-XXXXXX" of mode 0700 made in the catalogue's
// folder, and in it the copy "kopia". It stays locked (flock) while it lives,
// which tells a running compaction from the leftover of a killed one.
//
// Others who may write to the catalogue's folder can still rename this one and
// put something under its name, so once it is made it is reached only through
// its descriptor: the copy is made, written, renamed and removed through it.
// Destruction removes the folder with whatever copy is still in it, under
// whatever name it has by then in the catalogue's folder.
class CompactionFolder {
public:
    // Makes the folder beside fileName and in it the empty copy, with the
    // owner and mode of that file from the start.
    CompactionFolder(const std::filesystem::path& catalogueFolder, const std::string& fileName);
    ~CompactionFolder();
    CompactionFolder(const CompactionFolder&) = delete;
    CompactionFolder& operator=(const CompactionFolder&) = delete;

    // The copy's path through this folder's descriptor (engine::detail::descriptorPath).
    const std::string& CopyPath() const { return copyPath_; }

    // Gives the copy the file's mode once more, renames it over the file,
    // removes this folder and syncs the catalogue's folder. EFolderNotSynced
    // when only the sync fails.
    void ReplaceWithCopy();

private:
    void MakeCopy();
    bool IsOwnFolder(const std::string& name) const;
    void Remove() noexcept;

    std::string catalogueFolder_;
    std::string fileName_;
    FileDescriptor folder_;  // the catalogue's folder
    std::string name_;       // this folder's name as made
    FileDescriptor own_;     // this folder, locked
    struct stat ownInfo_ {};
    mode_t copyMode_ = 0600;
    std::string copyPath_;
    bool removed_ = false;
};
// Removes from folder every compaction folder that a killed run left behind: one
// whose name, owner, mode and contents are a compaction's and that no process
// holds locked. Anything it cannot prove to be such a leftover stays as it is.
// Never fails.
void RemoveStaleCompactionFolders(const std::string& folder);

// For tests: called each time a compaction folder has been made, before the
// copy is, with the path by name where the copy is to be.
void SetCompactionFolderHook(std::function<void(const std::string& copyPath)> hook);

}  // namespace TovaskADODB
