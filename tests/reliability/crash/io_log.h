#pragma once
// The log the I/O recorder writes and the crash-state tester reads: one record
// per call that changed the watched folder, in the order the calls returned.
// A record is a Record head followed by path, path2 and data bytes.

#include <cstdint>

namespace crash_log {

// Environment of the recorded process.
constexpr const char* kFolderVariable = "VK_CRASH_FOLDER";  // absolute, no trailing '/'
constexpr const char* kLogVariable = "VK_CRASH_LOG";

constexpr std::uint32_t kMagic = 0x564b4c47;  // "VKLG"

enum class Call : std::uint32_t {
    Open = 1,     // path; fd; flags; a = 1 when the call created the file; b = st_mode
    Close,        // fd
    Dup,          // fd copied to fd2
    Write,        // fd; a = offset; data
    Truncate,     // fd, or path when fd < 0; a = new size
    Allocate,     // fd; a = size the file grows to at least (zeros)
    Sync,         // fd, or path when fd < 0 (a descriptor the recorder did not see opened)
    SyncAll,      // sync(), syncfs()
    Rename,       // path to path2
    Unlink,       // path
    Mkdir,        // path; b = st_mode
    Rmdir,        // path
    Chmod,        // fd, or path when fd < 0; b = st_mode
    Unsupported,  // path or fd; data = what was called: a change the tester cannot model
    Exchange,     // path and path2 trade names (renameat2 with RENAME_EXCHANGE)
};

struct Record {
    std::uint32_t magic;
    Call call;
    std::int32_t fd;
    std::int32_t fd2;
    std::int32_t flags;
    std::uint32_t pathSize;
    std::int64_t a;
    std::int64_t b;
    std::uint32_t path2Size;
    std::uint32_t reserved;
    std::uint64_t dataSize;
};

}  // namespace crash_log
