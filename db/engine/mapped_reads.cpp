#include "db/engine/mapped_reads.h"

#include "db/engine/wrapped_file.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
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

struct MappedFile {
    WrappedFile file;       // first: what SQLite sees
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
    return closeWrapped(f.file);
}

int write(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset)
{
    const int rc = innerFile(file)->pMethods->xWrite(innerFile(file), data, amount, offset);
    if (rc == SQLITE_OK) self(file).written = std::max(self(file).written, offset + amount);
    return rc;
}

int truncate(sqlite3_file* file, sqlite3_int64 size)
{
    // SQLite reads nothing it cut off, so the windows may stay.
    const int rc = innerFile(file)->pMethods->xTruncate(innerFile(file), size);
    if (rc == SQLITE_OK) self(file).written = std::min(self(file).written, size);
    return rc;
}

int fileControl(sqlite3_file* file, int op, void* argument)
{
    // The mapping is this VFS's own; the system's VFS must not map the file too.
    if (op == SQLITE_FCNTL_MMAP_SIZE) return SQLITE_OK;
    return innerFile(file)->pMethods->xFileControl(innerFile(file), op, argument);
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

sqlite3_vfs* realVfs()
{
    return sqlite3_vfs_find(nullptr);
}

sqlite3_io_methods mappedFileCalls()
{
    sqlite3_io_methods methods = passedOnFileCalls();
    methods.xClose = close;
    methods.xWrite = write;
    methods.xTruncate = truncate;
    methods.xFileControl = fileControl;
    methods.xFetch = fetch;
    methods.xUnfetch = unfetch;
    return methods;
}

int open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    static const sqlite3_io_methods methods = mappedFileCalls();
    auto* f = new (file) MappedFile{};
    f->descriptor = -1;
    const int rc = openWrapped(realVfs(), name, f->file, flags, outFlags, &methods);
    if (rc != SQLITE_OK) return rc;
    if ((flags & SQLITE_OPEN_MAIN_DB) != 0 && name) {
        sqlite3_int64 size = 0;
        f->descriptor = ::open(name, O_RDONLY | O_CLOEXEC);
        if (f->descriptor >= 0 && f->file.inner->pMethods->xFileSize(f->file.inner, &size) == SQLITE_OK) {
            f->mapped = true;
            f->written = size;
        }
    }
    return SQLITE_OK;
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
    // The VFS that is the default when a file opens: a test's, wrapped around the system's, too.
    passOnVfsCalls<realVfs>(vfs);
    return sqlite3_vfs_register(&vfs, 0) == SQLITE_OK;
}

}  // namespace

const char* mappedReadsVfs()
{
    static const bool registered = registerVfs();
    return registered ? vfsName : nullptr;
}

}  // namespace engine::detail
