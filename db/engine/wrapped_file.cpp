#include "db/engine/wrapped_file.h"

#include <cstdlib>

namespace engine::detail {

namespace {

// One call of a file passed on to its wrapped file, with its arguments as they come.
template <auto Call>
struct PassedOn;

template <class Result, class... Args, Result (*sqlite3_io_methods::*Call)(sqlite3_file*, Args...)>
struct PassedOn<Call> {
    static Result call(sqlite3_file* file, Args... args)
    {
        sqlite3_file* inner = innerFile(file);
        return (inner->pMethods->*Call)(inner, args...);
    }
};

}  // namespace

sqlite3_io_methods passedOnFileCalls()
{
    sqlite3_io_methods methods{};
    methods.iVersion = 3;
    methods.xClose = [](sqlite3_file* file) { return closeWrapped(*reinterpret_cast<WrappedFile*>(file)); };
    methods.xRead = &PassedOn<&sqlite3_io_methods::xRead>::call;
    methods.xWrite = &PassedOn<&sqlite3_io_methods::xWrite>::call;
    methods.xTruncate = &PassedOn<&sqlite3_io_methods::xTruncate>::call;
    methods.xSync = &PassedOn<&sqlite3_io_methods::xSync>::call;
    methods.xFileSize = &PassedOn<&sqlite3_io_methods::xFileSize>::call;
    methods.xLock = &PassedOn<&sqlite3_io_methods::xLock>::call;
    methods.xUnlock = &PassedOn<&sqlite3_io_methods::xUnlock>::call;
    methods.xCheckReservedLock = &PassedOn<&sqlite3_io_methods::xCheckReservedLock>::call;
    methods.xFileControl = &PassedOn<&sqlite3_io_methods::xFileControl>::call;
    methods.xSectorSize = &PassedOn<&sqlite3_io_methods::xSectorSize>::call;
    methods.xDeviceCharacteristics = &PassedOn<&sqlite3_io_methods::xDeviceCharacteristics>::call;
    methods.xShmMap = &PassedOn<&sqlite3_io_methods::xShmMap>::call;
    methods.xShmLock = &PassedOn<&sqlite3_io_methods::xShmLock>::call;
    methods.xShmBarrier = &PassedOn<&sqlite3_io_methods::xShmBarrier>::call;
    methods.xShmUnmap = &PassedOn<&sqlite3_io_methods::xShmUnmap>::call;
    methods.xFetch = &PassedOn<&sqlite3_io_methods::xFetch>::call;
    methods.xUnfetch = &PassedOn<&sqlite3_io_methods::xUnfetch>::call;
    return methods;
}

int openWrapped(sqlite3_vfs* real, sqlite3_filename name, WrappedFile& file, int flags, int* outFlags,
                const sqlite3_io_methods* methods)
{
    file.base.pMethods = nullptr;
    file.inner = static_cast<sqlite3_file*>(std::calloc(1, static_cast<std::size_t>(real->szOsFile)));
    if (!file.inner) return SQLITE_NOMEM;
    const int rc = real->xOpen(real, name, file.inner, flags, outFlags);
    if (!file.inner->pMethods) {
        std::free(file.inner);
        file.inner = nullptr;
        return rc == SQLITE_OK ? SQLITE_CANTOPEN : rc;
    }
    // Open or not, SQLite closes a file whose pMethods is set.
    file.base.pMethods = methods;
    return rc;
}

int closeWrapped(WrappedFile& file)
{
    const int rc = file.inner && file.inner->pMethods ? file.inner->pMethods->xClose(file.inner) : SQLITE_OK;
    std::free(file.inner);
    file.inner = nullptr;
    return rc;
}

}  // namespace engine::detail
