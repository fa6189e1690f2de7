#pragma once
// The private folder in which a compaction writes its copy, beside the catalogue,
// and the removal of those that a killed run left behind.

#include <filesystem>
#include <functional>
#include <string>

#include "db/TovaskADODB/file_descriptor.h"

namespace TovaskADODB {

// A folder ".vidarkon-kompaktowanie-XXXXXX" of mode 0700 made in the catalogue's
// folder: nobody else can put anything in it, so the copy written there cannot
// be redirected. It stays locked (flock) while it lives, which tells a running
// compaction from the leftover of a killed one. Destruction removes it with
// whatever copy is still in it.
class CompactionFolder {
public:
    explicit CompactionFolder(const std::filesystem::path& catalogueFolder);
    ~CompactionFolder();
    CompactionFolder(const CompactionFolder&) = delete;
    CompactionFolder& operator=(const CompactionFolder&) = delete;

    // Where the copy is to be written; the file does not exist yet.
    const std::string& CopyPath() const { return copyPath_; }

    // Gives the copy the owner and mode of the file named fileName in the
    // catalogue's folder, renames it over that file, removes this folder and
    // syncs the catalogue's folder. EFolderNotSynced when only the sync fails.
    void ReplaceWithCopy(const std::string& fileName);

private:
    void Remove() noexcept;

    std::string catalogueFolder_;
    FileDescriptor folder_;  // the catalogue's folder
    std::string name_;
    FileDescriptor own_;  // this folder, locked
    std::string copyPath_;
    bool removed_ = false;
};

// Removes from folder every compaction folder that a killed run left behind: one
// whose name, owner, mode and contents are a compaction's and that no process
// holds locked. Anything it cannot prove to be such a leftover stays as it is.
// Never fails.
void RemoveStaleCompactionFolders(const std::string& folder);

// For tests: called with the copy's path each time a compaction folder has been made.
void SetCompactionFolderHook(std::function<void(const std::string& copyPath)> hook);

}  // namespace TovaskADODB
