#pragma once
// What a VFS that wraps another needs: a file that holds the wrapped one, and
// every call passed on as it is, so that a wrapper writes only the calls it
// changes.

#include <sqlite3.h>

namespace engine::detail {

// SQLite gives each open file szOsFile bytes; base is what it sees, the
// wrapped file lies in a block of its own.
struct WrappedFile {
    sqlite3_file base;
    sqlite3_file* inner;
};

inline sqlite3_file* innerFile(sqlite3_file* file)
{
    return reinterpret_cast<WrappedFile*>(file)->inner;
}

// Every call of a file passed on to its wrapped file; version 3, mapping included.
sqlite3_io_methods passedOnFileCalls();

// Opens the wrapped file with real: inner is allocated for it, and freed
// again when the open fails so that nothing is left to close. pMethods is
// methods once the wrapped file is open.
int openWrapped(sqlite3_vfs* real, sqlite3_filename name, WrappedFile& file, int flags, int* outFlags,
                const sqlite3_io_methods* methods);
// Closes and frees the wrapped file.
int closeWrapped(WrappedFile& file);

// One call of a VFS passed on to the VFS that real() gives.
template <sqlite3_vfs* (*real)(), auto Call>
struct VfsCallPassedOn;

template <sqlite3_vfs* (*real)(), class Result, class... Args, Result (*sqlite3_vfs::*Call)(sqlite3_vfs*, Args...)>
struct VfsCallPassedOn<real, Call> {
    static Result call(sqlite3_vfs* /*wrapper*/, Args... args) { return (real()->*Call)(real(), args...); }
};

// Sets every call of vfs but xOpen to pass it on to the VFS that real() gives.
template <sqlite3_vfs* (*real)()>
void passOnVfsCalls(sqlite3_vfs& vfs)
{
    vfs.xDelete = &VfsCallPassedOn<real, &sqlite3_vfs::xDelete>::call;
    vfs.xAccess = &VfsCallPassedOn<real, &sqlite3_vfs::xAccess>::call;
    vfs.xFullPathname = &VfsCallPassedOn<real, &sqlite3_vfs::xFullPathname>::call;
    vfs.xDlOpen = &VfsCallPassedOn<real, &sqlite3_vfs::xDlOpen>::call;
    vfs.xDlError = &VfsCallPassedOn<real, &sqlite3_vfs::xDlError>::call;
    vfs.xDlSym = &VfsCallPassedOn<real, &sqlite3_vfs::xDlSym>::call;
    vfs.xDlClose = &VfsCallPassedOn<real, &sqlite3_vfs::xDlClose>::call;
    vfs.xRandomness = &VfsCallPassedOn<real, &sqlite3_vfs::xRandomness>::call;
    vfs.xSleep = &VfsCallPassedOn<real, &sqlite3_vfs::xSleep>::call;
    vfs.xCurrentTime = &VfsCallPassedOn<real, &sqlite3_vfs::xCurrentTime>::call;
    vfs.xGetLastError = &VfsCallPassedOn<real, &sqlite3_vfs::xGetLastError>::call;
    vfs.xCurrentTimeInt64 = &VfsCallPassedOn<real, &sqlite3_vfs::xCurrentTimeInt64>::call;
}

}  // namespace engine::detail
