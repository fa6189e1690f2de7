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

// Sets every call of vfs but xOpen to pass it on to the VFS that real() gives.
template <sqlite3_vfs* (*real)()>
void passOnVfsCalls(sqlite3_vfs& vfs)
{
    vfs.xDelete = [](sqlite3_vfs*, const char* name, int syncFolder) {
        return real()->xDelete(real(), name, syncFolder);
    };
    vfs.xAccess = [](sqlite3_vfs*, const char* name, int flags, int* out) {
        return real()->xAccess(real(), name, flags, out);
    };
    vfs.xFullPathname = [](sqlite3_vfs*, const char* name, int size, char* out) {
        return real()->xFullPathname(real(), name, size, out);
    };
    vfs.xDlOpen = [](sqlite3_vfs*, const char* name) { return real()->xDlOpen(real(), name); };
    vfs.xDlError = [](sqlite3_vfs*, int size, char* out) { real()->xDlError(real(), size, out); };
    vfs.xDlSym = [](sqlite3_vfs*, void* handle, const char* symbol) { return real()->xDlSym(real(), handle, symbol); };
    vfs.xDlClose = [](sqlite3_vfs*, void* handle) { real()->xDlClose(real(), handle); };
    vfs.xRandomness = [](sqlite3_vfs*, int size, char* out) { return real()->xRandomness(real(), size, out); };
    vfs.xSleep = [](sqlite3_vfs*, int microseconds) { return real()->xSleep(real(), microseconds); };
    vfs.xCurrentTime = [](sqlite3_vfs*, double* out) { return real()->xCurrentTime(real(), out); };
    vfs.xGetLastError = [](sqlite3_vfs*, int size, char* out) { return real()->xGetLastError(real(), size, out); };
    vfs.xCurrentTimeInt64 = [](sqlite3_vfs*, sqlite3_int64* out) { return real()->xCurrentTimeInt64(real(), out); };
}

}  // namespace engine::detail
