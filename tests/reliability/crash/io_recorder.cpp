// Preloaded into the command-line runner (LD_PRELOAD): every call that changes
// the folder named by VK_CRASH_FOLDER goes to the log VK_CRASH_LOG once it has
// succeeded, in the order the calls were made. Calls glibc makes internally
// (mkstemp's open, remove's unlink, stdio's writes) never pass through here, so
// the functions that make them are recorded whole; what cannot be modelled
// (a file opened for writing with fopen, a shared writable mapping, a copy by
// sendfile, a hard link) is logged as unsupported and fails the test.
//
// No sanitizer runs in this library (CMake strips the flags): it must load into
// any build of the runner. It keeps to C library calls: it may be entered before
// any constructor of the process has run.

#include <dirent.h>
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cstdint>

#include "tests/reliability/crash/io_log.h"

namespace {

using crash_log::Call;

template <typename Function>
Function Next(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

using OpenFn = int (*)(const char*, int, ...);
using OpenAtFn = int (*)(int, const char*, int, ...);
using WriteFn = ssize_t (*)(int, const void*, size_t);
using WritevFn = ssize_t (*)(int, const struct iovec*, int);
using LseekFn = off_t (*)(int, off_t, int);

constexpr int kMaxDescriptors = 65536;

struct State {
    pthread_once_t once = PTHREAD_ONCE_INIT;
    pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
    bool active = false;
    int log = -1;
    char folder[PATH_MAX] = {};
    size_t folderLength = 0;
    char* paths[kMaxDescriptors] = {};  // the path each watched descriptor was opened on
};

State state;

void Initialize()
{
    const char* folder = getenv(crash_log::kFolderVariable);
    const char* log = getenv(crash_log::kLogVariable);
    if (!folder || !log || folder[0] != '/' || strlen(folder) >= PATH_MAX) return;
    const auto open = Next<OpenFn>("open64");
    if (!open) return;
    // Open for the life of the process: calls come until its very end.
    state.log = open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (state.log < 0) return;
    strcpy(state.folder, folder);
    state.folderLength = strlen(folder);
    while (state.folderLength > 1 && state.folder[state.folderLength - 1] == '/')
        state.folder[--state.folderLength] = 0;
    state.active = true;
}

bool Active()
{
    pthread_once(&state.once, Initialize);
    return state.active;
}

class Locked {
public:
    Locked() { pthread_mutex_lock(&state.lock); }
    ~Locked() { pthread_mutex_unlock(&state.lock); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
};

// Keeps the errno of the recorded call across the recording.
class KeptErrno {
public:
    KeptErrno() : saved_(errno) {}
    ~KeptErrno() { errno = saved_; }
    KeptErrno(const KeptErrno&) = delete;
    KeptErrno& operator=(const KeptErrno&) = delete;

private:
    int saved_;
};

void Abort(const char* why)
{
    static const auto write = Next<WriteFn>("write");
    if (write) {
        (void)write(STDERR_FILENO, "io_recorder: ", 13);
        (void)write(STDERR_FILENO, why, strlen(why));
        (void)write(STDERR_FILENO, "\n", 1);
    }
    abort();
}

struct Entry {
    Call call;
    int fd = -1;
    int fd2 = -1;
    int flags = 0;
    std::int64_t a = 0;
    std::int64_t b = 0;
    const char* path = nullptr;
    const char* path2 = nullptr;
    const struct iovec* data = nullptr;
    int dataParts = 0;
};

void Emit(const Entry& entry)
{
    static const auto writev = Next<WritevFn>("writev");
    if (!writev) Abort("no writev");
    crash_log::Record head{};
    head.magic = crash_log::kMagic;
    head.call = entry.call;
    head.fd = entry.fd;
    head.fd2 = entry.fd2;
    head.flags = entry.flags;
    head.a = entry.a;
    head.b = entry.b;
    head.pathSize = entry.path ? static_cast<std::uint32_t>(strlen(entry.path)) : 0;
    head.path2Size = entry.path2 ? static_cast<std::uint32_t>(strlen(entry.path2)) : 0;
    for (int i = 0; i < entry.dataParts; ++i) head.dataSize += entry.data[i].iov_len;

    // One buffer for head and paths, the data as it is; written to the end.
    char start[sizeof head + 2 * PATH_MAX];
    memcpy(start, &head, sizeof head);
    memcpy(start + sizeof head, entry.path, head.pathSize);
    memcpy(start + sizeof head + head.pathSize, entry.path2, head.path2Size);
    struct iovec parts[IOV_MAX];
    if (entry.dataParts + 1 > IOV_MAX) Abort("too many buffers");
    parts[0] = {start, sizeof head + head.pathSize + head.path2Size};
    for (int i = 0; i < entry.dataParts; ++i) parts[i + 1] = entry.data[i];
    int count = entry.dataParts + 1;
    struct iovec* next = parts;
    while (count > 0) {
        ssize_t written = writev(state.log, next, count);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) Abort("cannot write the log");
        while (count > 0 && static_cast<size_t>(written) >= next->iov_len) {
            written -= static_cast<ssize_t>(next->iov_len);
            ++next;
            --count;
        }
        if (count > 0) {
            next->iov_base = static_cast<char*>(next->iov_base) + written;
            next->iov_len -= static_cast<size_t>(written);
        }
    }
}

void Unsupported(const char* what, const char* path, int fd = -1)
{
    struct iovec text = {const_cast<char*>(what), strlen(what)};
    Emit({.call = Call::Unsupported, .fd = fd, .path = path, .data = &text, .dataParts = 1});
}

// Joins base and name and removes ".", ".." and repeated separators.
bool Normalize(const char* base, const char* name, char* out)
{
    char joined[2 * PATH_MAX];
    if (name[0] == '/')
        snprintf(joined, sizeof joined, "%s", name);
    else
        snprintf(joined, sizeof joined, "%s/%s", base, name);
    size_t length = 0;
    const char* p = joined;
    while (*p) {
        while (*p == '/') ++p;
        const char* end = strchrnul(p, '/');
        const size_t part = static_cast<size_t>(end - p);
        if (part == 0 || (part == 1 && p[0] == '.')) {
        } else if (part == 2 && p[0] == '.' && p[1] == '.') {
            while (length > 0 && out[length - 1] != '/') --length;
            if (length > 0) --length;
        } else {
            if (length + part + 2 >= PATH_MAX) return false;
            out[length++] = '/';
            memcpy(out + length, p, part);
            length += part;
        }
        p = end;
    }
    if (length == 0) out[length++] = '/';
    out[length] = 0;
    return true;
}

bool DescriptorPath(int fd, char* out)
{
    char link[64];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, out, PATH_MAX - 1);
    if (length <= 0) return false;
    out[length] = 0;
    return out[0] == '/';
}

bool Watched(int fd)
{
    return fd >= 0 && fd < kMaxDescriptors && state.paths[fd];
}

// /proc/self/fd/N/name names name in whatever descriptor N was opened on (the
// compaction reaches its folder so): the path of that, or path unchanged.
bool ThroughDescriptor(char* path)
{
    static const char kPrefix[] = "/proc/self/fd/";
    const size_t prefixLength = sizeof kPrefix - 1;
    if (strncmp(path, kPrefix, prefixLength) != 0) return true;
    char* end = nullptr;
    const long fd = strtol(path + prefixLength, &end, 10);
    if (end == path + prefixLength || (*end != '/' && *end != 0) || fd < 0 || fd >= kMaxDescriptors) return true;
    char base[PATH_MAX];
    if (Watched(static_cast<int>(fd)))
        snprintf(base, sizeof base, "%s", state.paths[fd]);
    else if (!DescriptorPath(static_cast<int>(fd), base))
        return false;
    char rest[PATH_MAX];
    snprintf(rest, sizeof rest, "%s", *end ? end + 1 : ".");
    return Normalize(base, rest, path);
}

// The absolute path a call names, as the kernel resolves it for dirfd.
bool Resolve(int dirfd, const char* name, char* out)
{
    if (!name) return false;
    char base[PATH_MAX];
    if (name[0] == '/') {
        base[0] = 0;
    } else if (dirfd == AT_FDCWD) {
        if (!getcwd(base, sizeof base)) return false;
    } else if (Watched(dirfd)) {
        snprintf(base, sizeof base, "%s", state.paths[dirfd]);
    } else if (!DescriptorPath(dirfd, base)) {
        return false;
    }
    return Normalize(base, name, out) && ThroughDescriptor(out);
}

bool InFolder(const char* path)
{
    return strncmp(path, state.folder, state.folderLength) == 0 &&
           (path[state.folderLength] == 0 || path[state.folderLength] == '/');
}

// The folder path a call names; false for any path outside the folder.
bool FolderPath(int dirfd, const char* name, char* out)
{
    return Active() && Resolve(dirfd, name, out) && InFolder(out);
}

void Watch(int fd, const char* path)
{
    if (fd < 0 || fd >= kMaxDescriptors) Abort("descriptor out of range");
    free(state.paths[fd]);
    state.paths[fd] = strdup(path);
}

void Forget(int fd)
{
    if (!Watched(fd)) return;
    free(state.paths[fd]);
    state.paths[fd] = nullptr;
}

// A descriptor in the folder that was opened where the recorder cannot see.
bool UnseenInFolder(int fd, char* path)
{
    return Active() && !Watched(fd) && fd >= 0 && DescriptorPath(fd, path) && InFolder(path);
}

int Mode(int fd)
{
    struct stat info {};
    return fstat(fd, &info) == 0 ? static_cast<int>(info.st_mode) : 0;
}

int PathMode(const char* path)
{
    struct stat info {};
    return lstat(path, &info) == 0 ? static_cast<int>(info.st_mode) : 0;
}

bool Exists(const char* path)
{
    struct stat info {};
    return lstat(path, &info) == 0;
}

template <typename Function>
int RecordOpen(int dirfd, const char* name, int flags, Function call)
{
    char path[PATH_MAX];
    if (!FolderPath(dirfd, name, path)) return call();
    Locked locked;
    const bool existed = Exists(path);
    const int fd = call();
    if (fd < 0) return fd;
    KeptErrno kept;
    if ((flags & O_TMPFILE) == O_TMPFILE) {
        Unsupported("open with O_TMPFILE", path, fd);
        return fd;
    }
    Watch(fd, path);
    Emit({.call = Call::Open, .fd = fd, .flags = flags, .a = existed ? 0 : 1, .b = Mode(fd), .path = path});
    return fd;
}

// A file made by mkstemp and its kind: name is the filled-in template.
int RecordMadeFile(int fd, const char* name, int flags)
{
    char path[PATH_MAX];
    if (fd < 0 || !FolderPath(AT_FDCWD, name, path)) return fd;
    Locked locked;
    KeptErrno kept;
    Watch(fd, path);
    Emit({.call = Call::Open,
          .fd = fd,
          .flags = O_RDWR | O_CREAT | O_EXCL | flags,
          .a = 1,
          .b = Mode(fd),
          .path = path});
    return fd;
}

// offset < 0: the descriptor's own position (or its end, when it appends).
template <typename Function>
ssize_t RecordWrite(int fd, std::int64_t offset, const struct iovec* parts, int count, Function call)
{
    if (!Active()) return call();
    if (!Watched(fd)) {
        const ssize_t written = call();
        KeptErrno kept;
        char path[PATH_MAX];
        if (written > 0 && UnseenInFolder(fd, path)) {
            Locked locked;
            Unsupported("write through a descriptor opened unseen", path, fd);
        }
        return written;
    }
    Locked locked;
    if (offset < 0) {
        static const auto lseek = Next<LseekFn>("lseek64");
        const int status = fcntl(fd, F_GETFL);
        struct stat info {};
        if (status >= 0 && (status & O_APPEND))
            offset = fstat(fd, &info) == 0 ? info.st_size : -1;
        else if (lseek)
            offset = lseek(fd, 0, SEEK_CUR);
    }
    const ssize_t written = call();
    if (written <= 0) return written;
    KeptErrno kept;
    if (offset < 0) {
        Unsupported("write at a position that cannot be told", state.paths[fd], fd);
        return written;
    }
    // Only the bytes the call took.
    struct iovec taken[IOV_MAX];
    int used = 0;
    size_t left = static_cast<size_t>(written);
    for (int i = 0; i < count && left > 0 && used < IOV_MAX; ++i) {
        const size_t length = parts[i].iov_len < left ? parts[i].iov_len : left;
        taken[used++] = {parts[i].iov_base, length};
        left -= length;
    }
    Emit({.call = Call::Write, .fd = fd, .a = offset, .path = state.paths[fd], .data = taken, .dataParts = used});
    return written;
}

template <typename Function>
int RecordTruncate(int fd, std::int64_t size, Function call)
{
    char path[PATH_MAX];
    if (!Active() || (!Watched(fd) && !UnseenInFolder(fd, path))) return call();
    Locked locked;
    const int result = call();
    if (result != 0) return result;
    KeptErrno kept;
    if (Watched(fd))
        Emit({.call = Call::Truncate, .fd = fd, .a = size, .path = state.paths[fd]});
    else
        Unsupported("truncate through a descriptor opened unseen", path, fd);
    return result;
}

template <typename Function>
int RecordAllocate(int fd, int mode, std::int64_t offset, std::int64_t length, Function call)
{
    char path[PATH_MAX];
    if (!Active() || (!Watched(fd) && !UnseenInFolder(fd, path))) return call();
    Locked locked;
    const int result = call();
    if (result != 0) return result;
    KeptErrno kept;
    if (!Watched(fd))
        Unsupported("fallocate through a descriptor opened unseen", path, fd);
    else if (mode == 0)
        Emit({.call = Call::Allocate, .fd = fd, .a = offset + length, .path = state.paths[fd]});
    else if (mode != FALLOC_FL_KEEP_SIZE)
        Unsupported("fallocate with a mode that changes the contents", state.paths[fd], fd);
    return result;
}

template <typename Function>
int RecordSync(int fd, Function call)
{
    char path[PATH_MAX];
    if (!Active() || (!Watched(fd) && !UnseenInFolder(fd, path))) return call();
    Locked locked;
    const int result = call();
    if (result != 0) return result;
    KeptErrno kept;
    // A folder opened with opendir is synced by its path.
    if (Watched(fd))
        Emit({.call = Call::Sync, .fd = fd, .path = state.paths[fd]});
    else
        Emit({.call = Call::Sync, .path = path});
    return result;
}

template <typename Function>
int RecordPathCall(Call call, int dirfd, const char* name, Function function)
{
    char path[PATH_MAX];
    if (!FolderPath(dirfd, name, path)) return function();
    Locked locked;
    const int result = function();
    if (result != 0) return result;
    KeptErrno kept;
    const int mode = call == Call::Mkdir || call == Call::Chmod ? PathMode(path) : 0;
    Emit({.call = call, .b = mode, .path = path});
    return result;
}

template <typename Function>
int RecordRemove(int dirfd, const char* name, Function function)
{
    char path[PATH_MAX];
    if (!FolderPath(dirfd, name, path)) return function();
    Locked locked;
    struct stat info {};
    const bool folder = lstat(path, &info) == 0 && S_ISDIR(info.st_mode);
    const int result = function();
    if (result != 0) return result;
    KeptErrno kept;
    Emit({.call = folder ? Call::Rmdir : Call::Unlink, .path = path});
    return result;
}

template <typename Function>
int RecordRename(int fromDir, const char* fromName, int toDir, const char* toName, unsigned flags, Function function)
{
    char from[PATH_MAX];
    char to[PATH_MAX];
    const bool fromInside = FolderPath(fromDir, fromName, from);
    const bool toInside = FolderPath(toDir, toName, to);
    if (!fromInside && !toInside) return function();
    Locked locked;
    const int result = function();
    if (result != 0) return result;
    KeptErrno kept;
    if (flags == RENAME_EXCHANGE && fromInside && toInside)
        Emit({.call = Call::Exchange, .path = from, .path2 = to});
    else if (flags & ~static_cast<unsigned>(RENAME_NOREPLACE))
        Unsupported("renameat2 with RENAME_WHITEOUT, or an exchange with a file outside", fromInside ? from : to);
    else if (fromInside && toInside)
        Emit({.call = Call::Rename, .path = from, .path2 = to});
    else if (fromInside)
        Emit({.call = Call::Unlink, .path = from});  // moved out: gone from the folder
    else
        Unsupported("rename of a file from outside into the folder", to);
    return result;
}

template <typename Function>
int RecordLink(int dirfd, const char* name, const char* what, Function function)
{
    char path[PATH_MAX];
    if (!FolderPath(dirfd, name, path)) return function();
    Locked locked;
    const int result = function();
    if (result == 0) {
        KeptErrno kept;
        Unsupported(what, path);
    }
    return result;
}

int RecordDuplicate(int from, int to)
{
    if (to < 0 || !Active()) return to;
    Locked locked;
    KeptErrno kept;
    if (Watched(to)) {
        Emit({.call = Call::Close, .fd = to, .path = state.paths[to]});
        Forget(to);
    }
    if (Watched(from)) {
        Watch(to, state.paths[from]);
        Emit({.call = Call::Dup, .fd = from, .fd2 = to, .path = state.paths[from]});
    }
    return to;
}

void RecordClose(int fd)
{
    if (!Active() || !Watched(fd)) return;
    KeptErrno kept;
    Emit({.call = Call::Close, .fd = fd, .path = state.paths[fd]});
    Forget(fd);
}

int OpenMode(int flags, va_list arguments)
{
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(arguments, int) : 0;
}

bool WritesStream(const char* mode)
{
    return mode && (strchr(mode, 'w') || strchr(mode, 'a') || strchr(mode, '+'));
}

void CheckStream(const char* name, const char* mode)
{
    char path[PATH_MAX];
    if (!WritesStream(mode) || !FolderPath(AT_FDCWD, name, path)) return;
    Locked locked;
    KeptErrno kept;
    Unsupported("fopen for writing", path);
}

// A shared writable mapping changes the file with no call to see.
void CheckMapping(int protection, int flags, int fd)
{
    if (!(protection & PROT_WRITE) || !(flags & MAP_SHARED) || !Active() || !Watched(fd)) return;
    Locked locked;
    Unsupported("shared writable mapping", state.paths[fd], fd);
}

// A copy the kernel makes into a watched file: its bytes are never seen here.
ssize_t CheckCopyInto(ssize_t result, int to, const char* what)
{
    if (result > 0 && Active() && Watched(to)) {
        Locked locked;
        KeptErrno kept;
        Unsupported(what, state.paths[to], to);
    }
    return result;
}

}  // namespace

extern "C" {

// Opening and making files.

int open(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const int mode = OpenMode(flags, arguments);
    va_end(arguments);
    static const auto real = Next<OpenFn>("open");
    return RecordOpen(AT_FDCWD, path, flags, [&] { return real(path, flags, mode); });
}

int open64(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const int mode = OpenMode(flags, arguments);
    va_end(arguments);
    static const auto real = Next<OpenFn>("open64");
    return RecordOpen(AT_FDCWD, path, flags, [&] { return real(path, flags, mode); });
}

int __open_2(const char* path, int flags)
{
    static const auto real = Next<int (*)(const char*, int)>("__open_2");
    return RecordOpen(AT_FDCWD, path, flags, [&] { return real(path, flags); });
}

int __open64_2(const char* path, int flags)
{
    static const auto real = Next<int (*)(const char*, int)>("__open64_2");
    return RecordOpen(AT_FDCWD, path, flags, [&] { return real(path, flags); });
}

int openat(int dirfd, const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const int mode = OpenMode(flags, arguments);
    va_end(arguments);
    static const auto real = Next<OpenAtFn>("openat");
    return RecordOpen(dirfd, path, flags, [&] { return real(dirfd, path, flags, mode); });
}

int openat64(int dirfd, const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const int mode = OpenMode(flags, arguments);
    va_end(arguments);
    static const auto real = Next<OpenAtFn>("openat64");
    return RecordOpen(dirfd, path, flags, [&] { return real(dirfd, path, flags, mode); });
}

int __openat_2(int dirfd, const char* path, int flags)
{
    static const auto real = Next<int (*)(int, const char*, int)>("__openat_2");
    return RecordOpen(dirfd, path, flags, [&] { return real(dirfd, path, flags); });
}

int __openat64_2(int dirfd, const char* path, int flags)
{
    static const auto real = Next<int (*)(int, const char*, int)>("__openat64_2");
    return RecordOpen(dirfd, path, flags, [&] { return real(dirfd, path, flags); });
}

int creat(const char* path, mode_t mode)
{
    static const auto real = Next<int (*)(const char*, mode_t)>("creat");
    return RecordOpen(AT_FDCWD, path, O_WRONLY | O_CREAT | O_TRUNC, [&] { return real(path, mode); });
}

int creat64(const char* path, mode_t mode)
{
    static const auto real = Next<int (*)(const char*, mode_t)>("creat64");
    return RecordOpen(AT_FDCWD, path, O_WRONLY | O_CREAT | O_TRUNC, [&] { return real(path, mode); });
}

int mkstemp(char* name)
{
    static const auto real = Next<int (*)(char*)>("mkstemp");
    return RecordMadeFile(real(name), name, 0);
}

int mkstemp64(char* name)
{
    static const auto real = Next<int (*)(char*)>("mkstemp64");
    return RecordMadeFile(real(name), name, 0);
}

int mkstemps(char* name, int suffix)
{
    static const auto real = Next<int (*)(char*, int)>("mkstemps");
    return RecordMadeFile(real(name, suffix), name, 0);
}

int mkstemps64(char* name, int suffix)
{
    static const auto real = Next<int (*)(char*, int)>("mkstemps64");
    return RecordMadeFile(real(name, suffix), name, 0);
}

int mkostemp(char* name, int flags)
{
    static const auto real = Next<int (*)(char*, int)>("mkostemp");
    return RecordMadeFile(real(name, flags), name, flags);
}

int mkostemp64(char* name, int flags)
{
    static const auto real = Next<int (*)(char*, int)>("mkostemp64");
    return RecordMadeFile(real(name, flags), name, flags);
}

int mkostemps(char* name, int suffix, int flags)
{
    static const auto real = Next<int (*)(char*, int, int)>("mkostemps");
    return RecordMadeFile(real(name, suffix, flags), name, flags);
}

int mkostemps64(char* name, int suffix, int flags)
{
    static const auto real = Next<int (*)(char*, int, int)>("mkostemps64");
    return RecordMadeFile(real(name, suffix, flags), name, flags);
}

char* mkdtemp(char* name) noexcept
{
    static const auto real = Next<char* (*)(char*)>("mkdtemp");
    char* made = real(name);
    char path[PATH_MAX];
    if (made && FolderPath(AT_FDCWD, made, path)) {
        Locked locked;
        KeptErrno kept;
        Emit({.call = Call::Mkdir, .b = PathMode(path), .path = path});
    }
    return made;
}

FILE* fopen(const char* path, const char* mode)
{
    static const auto real = Next<FILE* (*)(const char*, const char*)>("fopen");
    CheckStream(path, mode);
    return real(path, mode);
}

FILE* fopen64(const char* path, const char* mode)
{
    static const auto real = Next<FILE* (*)(const char*, const char*)>("fopen64");
    CheckStream(path, mode);
    return real(path, mode);
}

FILE* freopen(const char* path, const char* mode, FILE* stream)
{
    static const auto real = Next<FILE* (*)(const char*, const char*, FILE*)>("freopen");
    CheckStream(path, mode);
    return real(path, mode, stream);
}

FILE* freopen64(const char* path, const char* mode, FILE* stream)
{
    static const auto real = Next<FILE* (*)(const char*, const char*, FILE*)>("freopen64");
    CheckStream(path, mode);
    return real(path, mode, stream);
}

// Descriptors.

int close(int fd)
{
    static const auto real = Next<int (*)(int)>("close");
    if (Active() && Watched(fd)) {
        Locked locked;
        RecordClose(fd);  // the descriptor is gone whatever close returns
    }
    return real(fd);
}

// Both close their descriptor inside glibc, unseen: fdopendir and fdopen take one over.
int closedir(DIR* listing)
{
    static const auto real = Next<int (*)(DIR*)>("closedir");
    if (Active()) {
        Locked locked;
        RecordClose(dirfd(listing));
    }
    return real(listing);
}

int fclose(FILE* stream)
{
    static const auto real = Next<int (*)(FILE*)>("fclose");
    if (Active()) {
        Locked locked;
        RecordClose(fileno(stream));
    }
    return real(stream);
}

int close_range(unsigned first, unsigned last, int flags) noexcept
{
    static const auto real = Next<int (*)(unsigned, unsigned, int)>("close_range");
    const int result = real(first, last, flags);
    if (result == 0 && !(flags & CLOSE_RANGE_CLOEXEC) && Active()) {
        Locked locked;
        for (unsigned fd = first; fd <= last && fd < static_cast<unsigned>(kMaxDescriptors); ++fd)
            RecordClose(static_cast<int>(fd));
    }
    return result;
}

int dup(int fd) noexcept
{
    static const auto real = Next<int (*)(int)>("dup");
    return RecordDuplicate(fd, real(fd));
}

int dup2(int fd, int to) noexcept
{
    static const auto real = Next<int (*)(int, int)>("dup2");
    if (fd == to) return real(fd, to);
    return RecordDuplicate(fd, real(fd, to));
}

int dup3(int fd, int to, int flags) noexcept
{
    static const auto real = Next<int (*)(int, int, int)>("dup3");
    return RecordDuplicate(fd, real(fd, to, flags));
}

int fcntl(int fd, int command, ...)
{
    va_list arguments;
    va_start(arguments, command);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    static const auto real = Next<int (*)(int, int, ...)>("fcntl");
    const int result = real(fd, command, argument);
    if (command == F_DUPFD || command == F_DUPFD_CLOEXEC) RecordDuplicate(fd, result);
    return result;
}

int fcntl64(int fd, int command, ...)
{
    va_list arguments;
    va_start(arguments, command);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    static const auto real = Next<int (*)(int, int, ...)>("fcntl64");
    const int result = real(fd, command, argument);
    if (command == F_DUPFD || command == F_DUPFD_CLOEXEC) RecordDuplicate(fd, result);
    return result;
}

// Contents.

ssize_t write(int fd, const void* buffer, size_t size)
{
    static const auto real = Next<WriteFn>("write");
    const struct iovec part = {const_cast<void*>(buffer), size};
    return RecordWrite(fd, -1, &part, 1, [&] { return real(fd, buffer, size); });
}

ssize_t pwrite(int fd, const void* buffer, size_t size, off_t offset)
{
    static const auto real = Next<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
    const struct iovec part = {const_cast<void*>(buffer), size};
    return RecordWrite(fd, offset, &part, 1, [&] { return real(fd, buffer, size, offset); });
}

ssize_t pwrite64(int fd, const void* buffer, size_t size, off64_t offset)
{
    static const auto real = Next<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
    const struct iovec part = {const_cast<void*>(buffer), size};
    return RecordWrite(fd, offset, &part, 1, [&] { return real(fd, buffer, size, offset); });
}

ssize_t writev(int fd, const struct iovec* parts, int count)
{
    static const auto real = Next<WritevFn>("writev");
    return RecordWrite(fd, -1, parts, count, [&] { return real(fd, parts, count); });
}

ssize_t pwritev(int fd, const struct iovec* parts, int count, off_t offset)
{
    static const auto real = Next<ssize_t (*)(int, const struct iovec*, int, off_t)>("pwritev");
    return RecordWrite(fd, offset, parts, count, [&] { return real(fd, parts, count, offset); });
}

ssize_t pwritev64(int fd, const struct iovec* parts, int count, off64_t offset)
{
    static const auto real = Next<ssize_t (*)(int, const struct iovec*, int, off64_t)>("pwritev64");
    return RecordWrite(fd, offset, parts, count, [&] { return real(fd, parts, count, offset); });
}

ssize_t pwritev2(int fd, const struct iovec* parts, int count, off_t offset, int flags)
{
    static const auto real = Next<ssize_t (*)(int, const struct iovec*, int, off_t, int)>("pwritev2");
    return RecordWrite(fd, offset, parts, count, [&] { return real(fd, parts, count, offset, flags); });
}

ssize_t pwritev64v2(int fd, const struct iovec* parts, int count, off64_t offset, int flags)
{
    static const auto real = Next<ssize_t (*)(int, const struct iovec*, int, off64_t, int)>("pwritev64v2");
    return RecordWrite(fd, offset, parts, count, [&] { return real(fd, parts, count, offset, flags); });
}

int ftruncate(int fd, off_t size) noexcept
{
    static const auto real = Next<int (*)(int, off_t)>("ftruncate");
    return RecordTruncate(fd, size, [&] { return real(fd, size); });
}

int ftruncate64(int fd, off64_t size) noexcept
{
    static const auto real = Next<int (*)(int, off64_t)>("ftruncate64");
    return RecordTruncate(fd, size, [&] { return real(fd, size); });
}

int truncate(const char* name, off_t size) noexcept
{
    static const auto real = Next<int (*)(const char*, off_t)>("truncate");
    char path[PATH_MAX];
    if (!FolderPath(AT_FDCWD, name, path)) return real(name, size);
    Locked locked;
    const int result = real(name, size);
    if (result == 0) {
        KeptErrno kept;
        Emit({.call = Call::Truncate, .a = size, .path = path});
    }
    return result;
}

int truncate64(const char* name, off64_t size) noexcept
{
    static const auto real = Next<int (*)(const char*, off64_t)>("truncate64");
    char path[PATH_MAX];
    if (!FolderPath(AT_FDCWD, name, path)) return real(name, size);
    Locked locked;
    const int result = real(name, size);
    if (result == 0) {
        KeptErrno kept;
        Emit({.call = Call::Truncate, .a = size, .path = path});
    }
    return result;
}

int fallocate(int fd, int mode, off_t offset, off_t length)
{
    static const auto real = Next<int (*)(int, int, off_t, off_t)>("fallocate");
    return RecordAllocate(fd, mode, offset, length, [&] { return real(fd, mode, offset, length); });
}

int fallocate64(int fd, int mode, off64_t offset, off64_t length)
{
    static const auto real = Next<int (*)(int, int, off64_t, off64_t)>("fallocate64");
    return RecordAllocate(fd, mode, offset, length, [&] { return real(fd, mode, offset, length); });
}

int posix_fallocate(int fd, off_t offset, off_t length)
{
    static const auto real = Next<int (*)(int, off_t, off_t)>("posix_fallocate");
    return RecordAllocate(fd, 0, offset, length, [&] { return real(fd, offset, length); });
}

int posix_fallocate64(int fd, off64_t offset, off64_t length)
{
    static const auto real = Next<int (*)(int, off64_t, off64_t)>("posix_fallocate64");
    return RecordAllocate(fd, 0, offset, length, [&] { return real(fd, offset, length); });
}

void* mmap(void* address, size_t length, int protection, int flags, int fd, off_t offset) noexcept
{
    static const auto real = Next<void* (*)(void*, size_t, int, int, int, off_t)>("mmap");
    CheckMapping(protection, flags, fd);
    return real(address, length, protection, flags, fd, offset);
}

void* mmap64(void* address, size_t length, int protection, int flags, int fd, off64_t offset) noexcept
{
    static const auto real = Next<void* (*)(void*, size_t, int, int, int, off64_t)>("mmap64");
    CheckMapping(protection, flags, fd);
    return real(address, length, protection, flags, fd, offset);
}

ssize_t copy_file_range(int from, off64_t* fromOffset, int to, off64_t* toOffset, size_t length, unsigned flags)
{
    static const auto real = Next<ssize_t (*)(int, off64_t*, int, off64_t*, size_t, unsigned)>("copy_file_range");
    return CheckCopyInto(real(from, fromOffset, to, toOffset, length, flags), to, "copy_file_range into the folder");
}

ssize_t sendfile(int to, int from, off_t* offset, size_t length) noexcept
{
    static const auto real = Next<ssize_t (*)(int, int, off_t*, size_t)>("sendfile");
    return CheckCopyInto(real(to, from, offset, length), to, "sendfile into the folder");
}

ssize_t sendfile64(int to, int from, off64_t* offset, size_t length) noexcept
{
    static const auto real = Next<ssize_t (*)(int, int, off64_t*, size_t)>("sendfile64");
    return CheckCopyInto(real(to, from, offset, length), to, "sendfile into the folder");
}

// Syncs.

int fsync(int fd)
{
    static const auto real = Next<int (*)(int)>("fsync");
    return RecordSync(fd, [&] { return real(fd); });
}

int fdatasync(int fd)
{
    static const auto real = Next<int (*)(int)>("fdatasync");
    return RecordSync(fd, [&] { return real(fd); });
}

void sync() noexcept
{
    static const auto real = Next<void (*)()>("sync");
    real();
    if (Active()) {
        Locked locked;
        KeptErrno kept;
        Emit({.call = Call::SyncAll});
    }
}

int syncfs(int fd) noexcept
{
    static const auto real = Next<int (*)(int)>("syncfs");
    const int result = real(fd);
    if (result == 0 && Active()) {
        Locked locked;
        KeptErrno kept;
        Emit({.call = Call::SyncAll});
    }
    return result;
}

// Names.

int rename(const char* from, const char* to) noexcept
{
    static const auto real = Next<int (*)(const char*, const char*)>("rename");
    return RecordRename(AT_FDCWD, from, AT_FDCWD, to, 0, [&] { return real(from, to); });
}

int renameat(int fromDir, const char* from, int toDir, const char* to) noexcept
{
    static const auto real = Next<int (*)(int, const char*, int, const char*)>("renameat");
    return RecordRename(fromDir, from, toDir, to, 0, [&] { return real(fromDir, from, toDir, to); });
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags) noexcept
{
    static const auto real = Next<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
    return RecordRename(fromDir, from, toDir, to, flags, [&] { return real(fromDir, from, toDir, to, flags); });
}

int unlink(const char* name) noexcept
{
    static const auto real = Next<int (*)(const char*)>("unlink");
    return RecordPathCall(Call::Unlink, AT_FDCWD, name, [&] { return real(name); });
}

int unlinkat(int dirfd, const char* name, int flags) noexcept
{
    static const auto real = Next<int (*)(int, const char*, int)>("unlinkat");
    const Call call = (flags & AT_REMOVEDIR) ? Call::Rmdir : Call::Unlink;
    return RecordPathCall(call, dirfd, name, [&] { return real(dirfd, name, flags); });
}

int remove(const char* name) noexcept
{
    static const auto real = Next<int (*)(const char*)>("remove");
    return RecordRemove(AT_FDCWD, name, [&] { return real(name); });
}

int mkdir(const char* name, mode_t mode) noexcept
{
    static const auto real = Next<int (*)(const char*, mode_t)>("mkdir");
    return RecordPathCall(Call::Mkdir, AT_FDCWD, name, [&] { return real(name, mode); });
}

int mkdirat(int dirfd, const char* name, mode_t mode) noexcept
{
    static const auto real = Next<int (*)(int, const char*, mode_t)>("mkdirat");
    return RecordPathCall(Call::Mkdir, dirfd, name, [&] { return real(dirfd, name, mode); });
}

int rmdir(const char* name) noexcept
{
    static const auto real = Next<int (*)(const char*)>("rmdir");
    return RecordPathCall(Call::Rmdir, AT_FDCWD, name, [&] { return real(name); });
}

int chmod(const char* name, mode_t mode) noexcept
{
    static const auto real = Next<int (*)(const char*, mode_t)>("chmod");
    return RecordPathCall(Call::Chmod, AT_FDCWD, name, [&] { return real(name, mode); });
}

int fchmodat(int dirfd, const char* name, mode_t mode, int flags) noexcept
{
    static const auto real = Next<int (*)(int, const char*, mode_t, int)>("fchmodat");
    return RecordPathCall(Call::Chmod, dirfd, name, [&] { return real(dirfd, name, mode, flags); });
}

int fchmod(int fd, mode_t mode) noexcept
{
    static const auto real = Next<int (*)(int, mode_t)>("fchmod");
    char path[PATH_MAX];
    if (!Active() || (!Watched(fd) && !UnseenInFolder(fd, path))) return real(fd, mode);
    Locked locked;
    const int result = real(fd, mode);
    if (result == 0) {
        KeptErrno kept;
        if (Watched(fd))
            Emit({.call = Call::Chmod, .fd = fd, .b = Mode(fd), .path = state.paths[fd]});
        else
            Emit({.call = Call::Chmod, .b = Mode(fd), .path = path});
    }
    return result;
}

int link(const char* from, const char* to) noexcept
{
    static const auto real = Next<int (*)(const char*, const char*)>("link");
    return RecordLink(AT_FDCWD, to, "hard link", [&] { return real(from, to); });
}

int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) noexcept
{
    static const auto real = Next<int (*)(int, const char*, int, const char*, int)>("linkat");
    return RecordLink(toDir, to, "hard link", [&] { return real(fromDir, from, toDir, to, flags); });
}

int symlink(const char* target, const char* name) noexcept
{
    static const auto real = Next<int (*)(const char*, const char*)>("symlink");
    return RecordLink(AT_FDCWD, name, "symbolic link", [&] { return real(target, name); });
}

int symlinkat(const char* target, int dirfd, const char* name) noexcept
{
    static const auto real = Next<int (*)(const char*, int, const char*)>("symlinkat");
    return RecordLink(dirfd, name, "symbolic link", [&] { return real(target, dirfd, name); });
}

}  // extern "C"
