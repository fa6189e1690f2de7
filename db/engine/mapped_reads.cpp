#include "db/engine/mapped_reads.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace engine::detail {
namespace {

// A multiple of every page size SQLite allows, so that no page straddles two
// windows. Six windows of 512 KiB keep the mapped part of the file small while
// a table's cursor holds its interior pages in some of them.
constexpr sqlite3_int64 windowBytes = sqlite3_int64{1} << 19;
constexpr std::size_t windowCount = 6;

struct Window {
    sqlite3_int64 start = -1;
    char* base = nullptr;
    int uses = 0;  // pages handed out and not yet given back
    std::uint64_t lastUse = 0;
};

// SQLite gives each open file szOsFile bytes; the first member is what it sees.
struct MappedFile {
    sqlite3_file base;
    sqlite3_file* inner;
    bool mapped;            // the main database: other files are read as they are
    int descriptor;         // the file opened again for reading, to map it
    sqlite3_int64 written;  // bytes of the file known to be there: nothing beyond is mapped
    std::uint64_t clock;
    std::array<Window, windowCount> windows;
};

MappedFile& self(sqlite3_file* file)
{
    return *reinterpret_cast<MappedFile*>(file);
}

sqlite3_file* inner(sqlite3_file* file)
{
    return self(file).inner;
}

void unmap(Window& window)
{
    if (window.base) ::munmap(window.base, static_cast<std::size_t>(windowBytes));
    window = Window{};
}

int close(sqlite3_file* file)
{
    MappedFile& f = self(file);
    for (auto& window : f.windows) unmap(window);
    if (f.descriptor >= 0) ::close(f.descriptor);
    const int rc = f.inner->pMethods ? f.inner->pMethods->xClose(f.inner) : SQLITE_OK;
    std::free(f.inner);
    f.inner = nullptr;
    return rc;
}

int read(sqlite3_file* file, void* out, int amount, sqlite3_int64 offset)
{
    return inner(file)->pMethods->xRead(inner(file), out, amount, offset);
}

int write(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset)
{
    const int rc = inner(file)->pMethods->xWrite(inner(file), data, amount, offset);
    if (rc == SQLITE_OK) self(file).written = std::max(self(file).written, offset + amount);
    return rc;
}

int truncate(sqlite3_file* file, sqlite3_int64 size)
{
    // SQLite reads nothing it cut off, so the windows may stay.
    const int rc = inner(file)->pMethods->xTruncate(inner(file), size);
    if (rc == SQLITE_OK) self(file).written = std::min(self(file).written, size);
    return rc;
}

int sync(sqlite3_file* file, int flags)
{
    return inner(file)->pMethods->xSync(inner(file), flags);
}

int fileSize(sqlite3_file* file, sqlite3_int64* size)
{
    return inner(file)->pMethods->xFileSize(inner(file), size);
}

int lock(sqlite3_file* file, int level)
{
    return inner(file)->pMethods->xLock(inner(file), level);
}

int unlock(sqlite3_file* file, int level)
{
    return inner(file)->pMethods->xUnlock(inner(file), level);
}

int checkReservedLock(sqlite3_file* file, int* out)
{
    return inner(file)->pMethods->xCheckReservedLock(inner(file), out);
}

int fileControl(sqlite3_file* file, int op, void* argument)
{
    // The mapping is this VFS's own; the system's VFS must not map the file too.
    if (op == SQLITE_FCNTL_MMAP_SIZE) return SQLITE_OK;
    return inner(file)->pMethods->xFileControl(inner(file), op, argument);
}

int sectorSize(sqlite3_file* file)
{
    return inner(file)->pMethods->xSectorSize(inner(file));
}

int deviceCharacteristics(sqlite3_file* file)
{
    return inner(file)->pMethods->xDeviceCharacteristics(inner(file));
}

int shmMap(sqlite3_file* file, int region, int size, int extend, void volatile** out)
{
    return inner(file)->pMethods->xShmMap(inner(file), region, size, extend, out);
}

int shmLock(sqlite3_file* file, int offset, int n, int flags)
{
    return inner(file)->pMethods->xShmLock(inner(file), offset, n, flags);
}

void shmBarrier(sqlite3_file* file)
{
    inner(file)->pMethods->xShmBarrier(inner(file));
}

int shmUnmap(sqlite3_file* file, int deleteFlag)
{
    return inner(file)->pMethods->xShmUnmap(inner(file), deleteFlag);
}

// A window with the bytes at offset, mapped now if need be; null when every
// window is in use (SQLite then reads the page as usual).
Window* windowFor(MappedFile& f, sqlite3_int64 offset)
{
    const sqlite3_int64 start = offset - offset % windowBytes;
    for (auto& window : f.windows)
        if (window.base && window.start == start) return &window;
    Window* free = nullptr;
    for (auto& window : f.windows)
        if (window.uses == 0 && (!free || window.lastUse < free->lastUse)) free = &window;
    if (!free) return nullptr;
    unmap(*free);
    void* base = ::mmap(nullptr, static_cast<std::size_t>(windowBytes), PROT_READ, MAP_SHARED, f.descriptor, start);
    if (base == MAP_FAILED) return nullptr;
    free->start = start;
    free->base = static_cast<char*>(base);
    return free;
}

int fetch(sqlite3_file* file, sqlite3_int64 offset, int amount, void** out)
{
    *out = nullptr;
    MappedFile& f = self(file);
    // Only whole pages the file holds already, within one window.
    if (!f.mapped || offset < 0 || amount <= 0 || offset + amount > f.written ||
        offset / windowBytes != (offset + amount - 1) / windowBytes)
        return SQLITE_OK;
    Window* window = windowFor(f, offset);
    if (!window) return SQLITE_OK;
    ++window->uses;
    window->lastUse = ++f.clock;
    *out = window->base + (offset - window->start);
    return SQLITE_OK;
}

int unfetch(sqlite3_file* file, sqlite3_int64 offset, void* page)
{
    MappedFile& f = self(file);
    if (!page) {
        // SQLite wants nothing mapped; no page of it is in use by then.
        for (auto& window : f.windows)
            if (window.uses == 0) unmap(window);
        return SQLITE_OK;
    }
    const sqlite3_int64 start = offset - offset % windowBytes;
    for (auto& window : f.windows) {
        if (window.base && window.start == start && window.uses > 0) {
            --window.uses;
            break;
        }
    }
    return SQLITE_OK;
}

const sqlite3_io_methods methods{
    3,
    close,
    read,
    write,
    truncate,
    sync,
    fileSize,
    lock,
    unlock,
    checkReservedLock,
    fileControl,
    sectorSize,
    deviceCharacteristics,
    shmMap,
    shmLock,
    shmBarrier,
    shmUnmap,
    fetch,
    unfetch,
};

sqlite3_vfs* realVfs()
{
    return sqlite3_vfs_find(nullptr);
}

int open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    sqlite3_vfs* real = realVfs();
    auto* f = new (file) MappedFile{};
    f->base.pMethods = nullptr;
    f->descriptor = -1;
    f->inner = static_cast<sqlite3_file*>(std::calloc(1, static_cast<std::size_t>(real->szOsFile)));
    if (!f->inner) return SQLITE_NOMEM;
    const int rc = real->xOpen(real, name, f->inner, flags, outFlags);
    if (!f->inner->pMethods) {
        std::free(f->inner);
        f->inner = nullptr;
        return rc == SQLITE_OK ? SQLITE_CANTOPEN : rc;
    }
    f->base.pMethods = &methods;
    if (rc != SQLITE_OK) return rc;
    if ((flags & SQLITE_OPEN_MAIN_DB) != 0 && name) {
        sqlite3_int64 size = 0;
        f->descriptor = ::open(name, O_RDONLY | O_CLOEXEC);
        if (f->descriptor >= 0 && f->inner->pMethods->xFileSize(f->inner, &size) == SQLITE_OK) {
            f->mapped = true;
            f->written = size;
        }
    }
    return SQLITE_OK;
}

int remove(sqlite3_vfs*, const char* name, int syncFolder)
{
    return realVfs()->xDelete(realVfs(), name, syncFolder);
}

int access(sqlite3_vfs*, const char* name, int flags, int* out)
{
    return realVfs()->xAccess(realVfs(), name, flags, out);
}

int fullPathname(sqlite3_vfs*, const char* name, int size, char* out)
{
    return realVfs()->xFullPathname(realVfs(), name, size, out);
}

void* dlOpen(sqlite3_vfs*, const char* name)
{
    return realVfs()->xDlOpen(realVfs(), name);
}

void dlError(sqlite3_vfs*, int size, char* out)
{
    realVfs()->xDlError(realVfs(), size, out);
}

void (*dlSym(sqlite3_vfs*, void* handle, const char* symbol))(void)
{
    return realVfs()->xDlSym(realVfs(), handle, symbol);
}

void dlClose(sqlite3_vfs*, void* handle)
{
    realVfs()->xDlClose(realVfs(), handle);
}

int randomness(sqlite3_vfs*, int size, char* out)
{
    return realVfs()->xRandomness(realVfs(), size, out);
}

int sleep(sqlite3_vfs*, int microseconds)
{
    return realVfs()->xSleep(realVfs(), microseconds);
}

int currentTime(sqlite3_vfs*, double* out)
{
    return realVfs()->xCurrentTime(realVfs(), out);
}

int lastError(sqlite3_vfs*, int size, char* out)
{
    return realVfs()->xGetLastError(realVfs(), size, out);
}

int currentTimeInt64(sqlite3_vfs*, sqlite3_int64* out)
{
    return realVfs()->xCurrentTimeInt64(realVfs(), out);
}

constexpr const char* vfsName = "vidarkon-mapped-reads";

bool registerVfs()
{
    static sqlite3_vfs vfs{};
    sqlite3_vfs* real = realVfs();
    if (!real) return false;
    vfs.iVersion = 2;
    vfs.szOsFile = static_cast<int>(sizeof(MappedFile));
    vfs.mxPathname = real->mxPathname;
    vfs.zName = vfsName;
    vfs.xOpen = open;
    vfs.xDelete = remove;
    vfs.xAccess = access;
    vfs.xFullPathname = fullPathname;
    vfs.xDlOpen = dlOpen;
    vfs.xDlError = dlError;
    vfs.xDlSym = dlSym;
    vfs.xDlClose = dlClose;
    vfs.xRandomness = randomness;
    vfs.xSleep = sleep;
    vfs.xCurrentTime = currentTime;
    vfs.xGetLastError = lastError;
    vfs.xCurrentTimeInt64 = currentTimeInt64;
    return sqlite3_vfs_register(&vfs, 0) == SQLITE_OK;
}

}  // namespace

const char* mappedReadsVfs()
{
    static const bool registered = registerVfs();
    return registered ? vfsName : nullptr;
}

}  // namespace engine::detail
