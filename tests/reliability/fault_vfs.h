#pragma once
// An SQLite VFS for tests that wraps the default one and fails a chosen write,
// sync or truncate, counted across every file SQLite touches in the process,
// or a chosen read of chosen pages.

#include <sqlite3.h>

#include <cstdint>
#include <set>

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
    void Disarm();             // no more faults, of writes or reads; counting goes on
    int Calls() const;         // writes, syncs and truncates since the last Arm
    int Faults() const;        // how many calls were failed since the last Arm

    // From now on counts the reads of a main database file that touch one of
    // pages (numbered from 1, of pageSize bytes), and fails the failAt-th of
    // them once with an I/O error (0: none) until disarmed.
    void WatchPageReads(int failAt, int pageSize, std::set<std::int64_t> pages);
    int PageReads() const;  // such reads since WatchPageReads
};

}  // namespace reliability
