#pragma once
// The recorded calls as operations on the folder's files and sub-folders
// (inodes): descriptors and paths resolved to what they named at the time.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tests/reliability/crash/folder_image.h"
#include "tests/reliability/crash/io_log_reader.h"

namespace crash {

struct FolderOperation {
    enum class Kind { Create, Mkdir, Write, Truncate, Grow, Sync, SyncAll, Rename, Exchange, Unlink, Rmdir, Chmod };
    Kind kind{};
    int inode = -1;           // the file or folder acted on, renamed or removed
    int folder = -1;          // changes of names: the folder whose sync makes the change durable
    std::string path{};       // where inode was at the time (Rename: from; Exchange: one of the two)
    std::string path2{};      // Rename: to; Exchange: the other
    std::int64_t offset = 0;  // Write: where; Truncate, Grow: the new size
    std::string data{};       // Write
    unsigned mode = 0;        // Create, Mkdir, Chmod: permission bits

    // Names and permissions, as opposed to contents and syncs.
    bool ChangesNames() const;
    std::string Describe() const;
};

struct OperationLog {
    FolderImage initial;
    std::map<std::string, int> initialInodes;  // by path; the folder itself is inode 0
    std::vector<bool> folders;                 // by inode: whether it is a folder
    std::vector<FolderOperation> operations;
    std::vector<std::string> unsupported;  // calls the recorder saw but the model cannot follow
};

// Names with the two paths, and all below them, trading places.
std::map<std::string, int> ExchangedNames(const std::map<std::string, int>& names, const std::string& one,
                                          const std::string& other);

// Fails (std::runtime_error) when the log does not fit initial: the recording missed a change.
OperationLog ResolveOperations(const std::vector<IoEvent>& events, FolderImage initial);

}  // namespace crash
