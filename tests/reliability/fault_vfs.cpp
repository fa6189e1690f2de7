#include "tests/reliability/fault_vfs.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace reliability {

namespace {

struct State {
    sqlite3_vfs* real = nullptr;
    sqlite3_vfs vfs{};
    sqlite3_io_methods methods{};
    FaultPlan plan;
    bool armed = false;
    bool full = false;  // a full disk stays full until disarmed
    int calls = 0;
    int faults = 0;
    bool readsWatched = false;
    int readFailAt = 0;
    int pageSize = 0;
    std::set<std::int64_t> pages;
    int pageReads = 0;
};

State state;

// SQLite allocates szOsFile bytes for this; the real file follows it in its own block.
struct WrappedFile {
    sqlite3_file base;
    sqlite3_file* real;
    bool mainDatabase;
};

sqlite3_file* Real(sqlite3_file* file)
{
    return reinterpret_cast<WrappedFile*>(file)->real;
}

// Returns the error code of a faulted call, or SQLITE_OK to let it through.
int Fault(int ioError)
{
    ++state.calls;
    if (!state.armed) return SQLITE_OK;
    if (state.full || state.calls == state.plan.failAt) {
        ++state.faults;
        if (state.plan.kind == FaultKind::DiskFull) {
            state.full = true;
            return SQLITE_FULL;
        }
        return ioError;
    }
    return SQLITE_OK;
}

int Close(sqlite3_file* file)
{
    auto* wrapped = reinterpret_cast<WrappedFile*>(file);
    const int rc = wrapped->real->pMethods ? wrapped->real->pMethods->xClose(wrapped->real) : SQLITE_OK;
    std::free(wrapped->real);
    wrapped->real = nullptr;
    return rc;
}

bool WatchedPage(sqlite3_int64 offset, int amount)
{
    for (auto page = offset / state.pageSize; page * state.pageSize < offset + amount; ++page)
        if (state.pages.count(page + 1)) return true;
    return false;
}

int Read(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset)
{
    if (state.readsWatched && reinterpret_cast<WrappedFile*>(file)->mainDatabase && WatchedPage(offset, amount) &&
        ++state.pageReads == state.readFailAt) {
        ++state.faults;
        return SQLITE_IOERR_READ;
    }
    return Real(file)->pMethods->xRead(Real(file), buffer, amount, offset);
}

int Write(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset)
{
    if (const int rc = Fault(SQLITE_IOERR_WRITE); rc != SQLITE_OK) return rc;
    return Real(file)->pMethods->xWrite(Real(file), buffer, amount, offset);
}

int Truncate(sqlite3_file* file, sqlite3_int64 size)
{
    if (const int rc = Fault(SQLITE_IOERR_TRUNCATE); rc != SQLITE_OK) return rc;
    return Real(file)->pMethods->xTruncate(Real(file), size);
}

int Sync(sqlite3_file* file, int flags)
{
    if (const int rc = Fault(SQLITE_IOERR_FSYNC); rc != SQLITE_OK) return rc;
    // The tests need no durability against power loss, and real syncs would make
    // a loop over every call too slow.
    (void)file;
    (void)flags;
    return SQLITE_OK;
}

int FileSize(sqlite3_file* file, sqlite3_int64* size)
{
    return Real(file)->pMethods->xFileSize(Real(file), size);
}
int Lock(sqlite3_file* file, int level)
{
    return Real(file)->pMethods->xLock(Real(file), level);
}
int Unlock(sqlite3_file* file, int level)
{
    return Real(file)->pMethods->xUnlock(Real(file), level);
}
int CheckReservedLock(sqlite3_file* file, int* out)
{
    return Real(file)->pMethods->xCheckReservedLock(Real(file), out);
}
int FileControl(sqlite3_file* file, int op, void* arg)
{
    return Real(file)->pMethods->xFileControl(Real(file), op, arg);
}
int SectorSize(sqlite3_file* file)
{
    return Real(file)->pMethods->xSectorSize(Real(file));
}
int DeviceCharacteristics(sqlite3_file* file)
{
    return Real(file)->pMethods->xDeviceCharacteristics(Real(file));
}
int ShmMap(sqlite3_file* file, int page, int size, int extend, void volatile** out)
{
    return Real(file)->pMethods->xShmMap(Real(file), page, size, extend, out);
}
int ShmLock(sqlite3_file* file, int offset, int n, int flags)
{
    return Real(file)->pMethods->xShmLock(Real(file), offset, n, flags);
}
void ShmBarrier(sqlite3_file* file)
{
    Real(file)->pMethods->xShmBarrier(Real(file));
}
int ShmUnmap(sqlite3_file* file, int deleteFlag)
{
    return Real(file)->pMethods->xShmUnmap(Real(file), deleteFlag);
}
int Fetch(sqlite3_file* file, sqlite3_int64 offset, int amount, void** out)
{
    return Real(file)->pMethods->xFetch(Real(file), offset, amount, out);
}
int Unfetch(sqlite3_file* file, sqlite3_int64 offset, void* page)
{
    return Real(file)->pMethods->xUnfetch(Real(file), offset, page);
}

int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    auto* wrapped = reinterpret_cast<WrappedFile*>(file);
    wrapped->base.pMethods = nullptr;
    wrapped->mainDatabase = (flags & SQLITE_OPEN_MAIN_DB) != 0;
    wrapped->real = static_cast<sqlite3_file*>(std::calloc(1, static_cast<std::size_t>(state.real->szOsFile)));
    if (!wrapped->real) return SQLITE_NOMEM;
    const int rc = state.real->xOpen(state.real, name, wrapped->real, flags, outFlags);
    if (wrapped->real->pMethods) {
        // The real methods' version says which optional calls exist.
        state.methods.iVersion = wrapped->real->pMethods->iVersion;
        wrapped->base.pMethods = &state.methods;
    } else {
        std::free(wrapped->real);
        wrapped->real = nullptr;
    }
    return rc;
}

int Delete(sqlite3_vfs*, const char* name, int syncDir)
{
    return state.real->xDelete(state.real, name, syncDir);
}
int Access(sqlite3_vfs*, const char* name, int flags, int* out)
{
    return state.real->xAccess(state.real, name, flags, out);
}
int FullPathname(sqlite3_vfs*, const char* name, int size, char* out)
{
    return state.real->xFullPathname(state.real, name, size, out);
}
void* DlOpen(sqlite3_vfs*, const char* name)
{
    return state.real->xDlOpen(state.real, name);
}
void DlError(sqlite3_vfs*, int size, char* out)
{
    state.real->xDlError(state.real, size, out);
}
void (*DlSym(sqlite3_vfs*, void* handle, const char* symbol))(void)
{
    return state.real->xDlSym(state.real, handle, symbol);
}
void DlClose(sqlite3_vfs*, void* handle)
{
    state.real->xDlClose(state.real, handle);
}
int Randomness(sqlite3_vfs*, int size, char* out)
{
    return state.real->xRandomness(state.real, size, out);
}
int Sleep(sqlite3_vfs*, int micro)
{
    return state.real->xSleep(state.real, micro);
}
int CurrentTime(sqlite3_vfs*, double* out)
{
    return state.real->xCurrentTime(state.real, out);
}
int GetLastError(sqlite3_vfs*, int size, char* out)
{
    return state.real->xGetLastError(state.real, size, out);
}
int CurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* out)
{
    return state.real->xCurrentTimeInt64(state.real, out);
}

}  // namespace

FaultVfs::FaultVfs()
{
    if (state.real) throw std::logic_error("one FaultVfs at a time");
    state.real = sqlite3_vfs_find(nullptr);
    if (!state.real) throw std::runtime_error("no default SQLite VFS");
    state.methods = sqlite3_io_methods{3,
                                       Close,
                                       Read,
                                       Write,
                                       Truncate,
                                       Sync,
                                       FileSize,
                                       Lock,
                                       Unlock,
                                       CheckReservedLock,
                                       FileControl,
                                       SectorSize,
                                       DeviceCharacteristics,
                                       ShmMap,
                                       ShmLock,
                                       ShmBarrier,
                                       ShmUnmap,
                                       Fetch,
                                       Unfetch};
    state.vfs = sqlite3_vfs{};
    state.vfs.iVersion = 2;
    state.vfs.szOsFile = static_cast<int>(sizeof(WrappedFile));
    state.vfs.mxPathname = state.real->mxPathname;
    state.vfs.zName = "reliability-faults";
    state.vfs.xOpen = Open;
    state.vfs.xDelete = Delete;
    state.vfs.xAccess = Access;
    state.vfs.xFullPathname = FullPathname;
    state.vfs.xDlOpen = DlOpen;
    state.vfs.xDlError = DlError;
    state.vfs.xDlSym = DlSym;
    state.vfs.xDlClose = DlClose;
    state.vfs.xRandomness = Randomness;
    state.vfs.xSleep = Sleep;
    state.vfs.xCurrentTime = CurrentTime;
    state.vfs.xGetLastError = GetLastError;
    state.vfs.xCurrentTimeInt64 = CurrentTimeInt64;
    if (sqlite3_vfs_register(&state.vfs, 1) != SQLITE_OK) throw std::runtime_error("cannot register the fault VFS");
    Arm({});
}

FaultVfs::~FaultVfs()
{
    sqlite3_vfs_unregister(&state.vfs);
    sqlite3_vfs_register(state.real, 1);
    state = State{};
}

void FaultVfs::Arm(FaultPlan plan)
{
    state.plan = plan;
    state.armed = plan.failAt > 0;
    state.full = false;
    state.calls = 0;
    state.faults = 0;
    state.readsWatched = false;
}

void FaultVfs::Disarm()
{
    state.armed = false;
    state.full = false;
    state.readsWatched = false;
}

void FaultVfs::WatchPageReads(int failAt, int pageSize, std::set<std::int64_t> pages)
{
    if (pageSize <= 0) throw std::invalid_argument("page size");
    state.readsWatched = true;
    state.readFailAt = failAt;
    state.pageSize = pageSize;
    state.pages = std::move(pages);
    state.pageReads = 0;
}

int FaultVfs::PageReads() const
{
    return state.pageReads;
}

int FaultVfs::Calls() const
{
    return state.calls;
}
int FaultVfs::Faults() const
{
    return state.faults;
}

}  // namespace reliability
