#include "db/engine/wrapped_file.h"

#include <cstdlib>

namespace engine::detail {

sqlite3_io_methods passedOnFileCalls()
{
    sqlite3_io_methods methods{};
    methods.iVersion = 3;
    methods.xClose = [](sqlite3_file* file) { return closeWrapped(*reinterpret_cast<WrappedFile*>(file)); };
    methods.xRead = [](sqlite3_file* file, void* out, int amount, sqlite3_int64 offset) {
        return innerFile(file)->pMethods->xRead(innerFile(file), out, amount, offset);
    };
    methods.xWrite = [](sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset) {
        return innerFile(file)->pMethods->xWrite(innerFile(file), data, amount, offset);
    };
    methods.xTruncate = [](sqlite3_file* file, sqlite3_int64 size) {
        return innerFile(file)->pMethods->xTruncate(innerFile(file), size);
    };
    methods.xSync = [](sqlite3_file* file, int flags) {
        return innerFile(file)->pMethods->xSync(innerFile(file), flags);
    };
    methods.xFileSize = [](sqlite3_file* file, sqlite3_int64* size) {
        return innerFile(file)->pMethods->xFileSize(innerFile(file), size);
    };
    methods.xLock = [](sqlite3_file* file, int level) {
        return innerFile(file)->pMethods->xLock(innerFile(file), level);
    };
    methods.xUnlock = [](sqlite3_file* file, int level) {
        return innerFile(file)->pMethods->xUnlock(innerFile(file), level);
    };
    methods.xCheckReservedLock = [](sqlite3_file* file, int* out) {
        return innerFile(file)->pMethods->xCheckReservedLock(innerFile(file), out);
    };
    methods.xFileControl = [](sqlite3_file* file, int op, void* argument) {
        return innerFile(file)->pMethods->xFileControl(innerFile(file), op, argument);
    };
    methods.xSectorSize = [](sqlite3_file* file) { return innerFile(file)->pMethods->xSectorSize(innerFile(file)); };
    methods.xDeviceCharacteristics = [](sqlite3_file* file) {
        return innerFile(file)->pMethods->xDeviceCharacteristics(innerFile(file));
    };
    methods.xShmMap = [](sqlite3_file* file, int region, int size, int extend, void volatile** out) {
        return innerFile(file)->pMethods->xShmMap(innerFile(file), region, size, extend, out);
    };
    methods.xShmLock = [](sqlite3_file* file, int offset, int n, int flags) {
        return innerFile(file)->pMethods->xShmLock(innerFile(file), offset, n, flags);
    };
    methods.xShmBarrier = [](sqlite3_file* file) { innerFile(file)->pMethods->xShmBarrier(innerFile(file)); };
    methods.xShmUnmap = [](sqlite3_file* file, int deleteFlag) {
        return innerFile(file)->pMethods->xShmUnmap(innerFile(file), deleteFlag);
    };
    methods.xFetch = [](sqlite3_file* file, sqlite3_int64 offset, int amount, void** out) {
        return innerFile(file)->pMethods->xFetch(innerFile(file), offset, amount, out);
    };
    methods.xUnfetch = [](sqlite3_file* file, sqlite3_int64 offset, void* page) {
        return innerFile(file)->pMethods->xUnfetch(innerFile(file), offset, page);
    };
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
