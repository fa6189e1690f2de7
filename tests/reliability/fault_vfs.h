#pragma once
// An SQLite VFS for tests that wraps the default one and fails a chosen write,
// sync or truncate, counted across every file SQLite touches in the process.

#include <sqlite3.h>

namespace reliability {

enum class FaultKind {
    IoError,   // the call fails once with an I/O error
    DiskFull,  // the call and every later write, sync or truncate report a full disk
};

struct FaultPlan {
    int failAt = 0;  // 1-based number of the call that fails; 0 fails none
    FaultKind kind = FaultKind::IoError;
};

// Installs the wrapper as the process's default VFS for its lifetime; calls
// are counted from construction on.
class FaultVfs {
public:
    FaultVfs();
    ~FaultVfs();
    FaultVfs(const FaultVfs&) = delete;
    FaultVfs& operator=(const FaultVfs&) = delete;

    void Arm(FaultPlan plan);  // resets the count
    void Disarm();             // no more faults; counting goes on
    int Calls() const;         // writes, syncs and truncates since the last Arm
    int Faults() const;        // how many calls were failed since the last Arm
};

}  // namespace reliability
