#include "tests/reliability/fault_vfs.h"

#include "db/engine/wrapped_file.h"

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

struct FaultFile {
    engine::detail::WrappedFile file;  // first: what SQLite sees
    bool mainDatabase;
};

sqlite3_file* Real(sqlite3_file* file)
{
    return engine::detail::innerFile(file);
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

bool WatchedPage(sqlite3_int64 offset, int amount)
{
    for (auto page = offset / state.pageSize; page * state.pageSize < offset + amount; ++page)
        if (state.pages.count(page + 1)) return true;
    return false;
}

int Read(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset)
{
    if (state.readsWatched && reinterpret_cast<FaultFile*>(file)->mainDatabase && WatchedPage(offset, amount) &&
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

int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    auto* fault = reinterpret_cast<FaultFile*>(file);
    fault->mainDatabase = (flags & SQLITE_OPEN_MAIN_DB) != 0;
    const int rc = engine::detail::openWrapped(state.real, name, fault->file, flags, outFlags, &state.methods);
    // The real methods' version says which optional calls exist.
    if (fault->file.inner) state.methods.iVersion = fault->file.inner->pMethods->iVersion;
    return rc;
}

sqlite3_vfs* RealVfs()
{
    return state.real;
}

}  // namespace

FaultVfs::FaultVfs()
{
    if (state.real) throw std::logic_error("one FaultVfs at a time");
    state.real = sqlite3_vfs_find(nullptr);
    if (!state.real) throw std::runtime_error("no default SQLite VFS");
    state.methods = engine::detail::passedOnFileCalls();
    state.methods.xRead = Read;
    state.methods.xWrite = Write;
    state.methods.xTruncate = Truncate;
    state.methods.xSync = Sync;
    state.vfs = sqlite3_vfs{};
    state.vfs.iVersion = 2;
    state.vfs.szOsFile = static_cast<int>(sizeof(FaultFile));
    state.vfs.mxPathname = state.real->mxPathname;
    state.vfs.zName = "reliability-faults";
    state.vfs.xOpen = Open;
    engine::detail::passOnVfsCalls<RealVfs>(state.vfs);
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
