#include "db/engine/catalogue_file.h"

#include "db/engine/engine_error.h"
#include "db/engine/name_collation.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string_view>

namespace engine::detail {
namespace {

[[noreturn]] void unrecognized(const std::string& path, int code = 0)
{
    throw EngineError("Unrecognized database format '" + path + "'.", code);
}

// A structure change runs inside savepoints, whose pages SQLite keeps in a
// sub-journal that goes to a temporary file beyond 64 KiB: thousands of writes
// for a small catalogue. Held in memory up to 8 MiB, larger ones still spill.
// SQLite takes this only before its first use, hence at the program's start.
[[maybe_unused]] const bool subJournalsInMemory = sqlite3_config(SQLITE_CONFIG_STMTJRNL_SPILL, 8 << 20) == SQLITE_OK;
// Nothing asks SQLite how much memory it uses; counting it takes a lock at
// every allocation, thousands per row copied.
[[maybe_unused]] const bool memoryNotCounted = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;

constexpr std::string_view descriptorFolders = "/proc/self/fd/";

// SQLite turns every path into one without links, and /proc/self/fd/N is a link
// to the name the folder open as N has at that moment: someone who renames the
// folder and puts a link under its name would get the file. The system's VFS,
// with descriptor paths taken as given: the kernel then finds the folder
// through the descriptor itself.
sqlite3_vfs* systemVfs = nullptr;
sqlite3_vfs descriptorPathsVfs{};

int fullPathname(sqlite3_vfs*, const char* name, int size, char* out)
{
    if (!name || !isDescriptorPath(name)) return systemVfs->xFullPathname(systemVfs, name, size, out);
    const std::size_t length = std::strlen(name);
    if (size <= 0 || length >= static_cast<std::size_t>(size)) return SQLITE_CANTOPEN;
    std::memcpy(out, name, length + 1);
    return SQLITE_OK;
}

// The process's default VFS from its start, before any connection opens and
// beneath any VFS a test wraps around the default.
bool keepDescriptorPaths()
{
    systemVfs = sqlite3_vfs_find(nullptr);
    if (!systemVfs) return false;
    // Its own functions, given this copy, use only what the copy holds of it.
    descriptorPathsVfs = *systemVfs;
    descriptorPathsVfs.pNext = nullptr;
    descriptorPathsVfs.zName = "vidarkon-descriptor-paths";
    descriptorPathsVfs.xFullPathname = fullPathname;
    return sqlite3_vfs_register(&descriptorPathsVfs, 1) == SQLITE_OK;
}

const bool descriptorPathsKept = keepDescriptorPaths();

void setOption(sqlite3* db, int option, int value)
{
    const int rc = sqlite3_db_config(db, option, value, static_cast<int*>(nullptr));
    if (rc != SQLITE_OK) throwSqliteError(db, rc);
}

}  // namespace

std::string descriptorPath(int folderDescriptor, const std::string& name)
{
    return std::string(descriptorFolders) + std::to_string(folderDescriptor) + "/" + name;
}

// Only what descriptorPath makes: one plain name in the descriptor's folder.
bool isDescriptorPath(const std::string& path)
{
    std::string_view rest(path);
    if (!rest.starts_with(descriptorFolders)) return false;
    rest.remove_prefix(descriptorFolders.size());
    const auto digits = rest.find_first_not_of("0123456789");
    if (digits == 0 || digits == std::string_view::npos || rest[digits] != '/') return false;
    const auto name = rest.substr(digits + 1);
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

std::string canonicalFilePath(const std::string& path)
{
    std::error_code error;
    const auto canonical = std::filesystem::canonical(path, error);
    if (error || path.empty())
        throw EngineError("Could not find file '" + path + "'.", SQLITE_CANTOPEN, error ? error.value() : ENOENT);
    return canonical.string();
}

SqliteHandle openCatalogueFile(const std::string& path)
{
    // A descriptor path resolved would name the folder again.
    const bool throughDescriptor = isDescriptorPath(path);
    if (throughDescriptor && !descriptorPathsKept)
        throw EngineError("Cannot open '" + path + "' through its folder's descriptor.", SQLITE_CANTOPEN);
    const std::string canonical = throughDescriptor ? path : canonicalFilePath(path);
    struct stat info {};
    if (::stat(canonical.c_str(), &info) != 0)
        throw EngineError("Could not find file '" + path + "'.", SQLITE_CANTOPEN, errno);
    if (!S_ISREG(info.st_mode)) throw EngineError("'" + path + "' is not a database file.", SQLITE_CANTOPEN);
    // SQLite takes a file shorter than its 100-byte header for an empty database
    // and would write to it; no database is shorter than one 512-byte page.
    if (info.st_size < 512) unrecognized(path, SQLITE_NOTADB);
    // A file nobody may write is read-only even for an administrator.
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        throw EngineError("The file '" + path + "' is read-only.", SQLITE_READONLY);
    if (::access(canonical.c_str(), W_OK) != 0)
        throw EngineError("The file '" + path + "' is read-only.", SQLITE_READONLY, errno == EROFS ? EROFS : 0);

    sqlite3* raw = nullptr;
    // A connection is used by one thread only: no lock around every call.
    const int rc = sqlite3_open_v2(canonical.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    SqliteHandle db(raw);
    if (rc != SQLITE_OK) throwSqliteError(db.get(), rc);
    sqlite3_extended_result_codes(db.get(), 1);
    // A misspelt column in a query must fail, not read as a string literal.
    setOption(db.get(), SQLITE_DBCONFIG_DQS_DML, 0);
    // A catalogue comes from elsewhere: its schema is not trusted to run
    // anything but harmless functions, and no SQL may corrupt it on purpose.
    setOption(db.get(), SQLITE_DBCONFIG_DEFENSIVE, 1);
    setOption(db.get(), SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0);
    setOption(db.get(), SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0);
    sqlite3_busy_timeout(db.get(), busyTimeoutMs);
    registerNameCollation(db.get());

    // SQLite reads the header only now; a file of another kind fails here.
    const int check = sqlite3_exec(db.get(), "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr);
    if ((check & 0xFF) == SQLITE_NOTADB) unrecognized(path, check);
    if (check != SQLITE_OK) throwSqliteError(db.get(), check);
    if (sqlite3_db_readonly(db.get(), "main") == 1)
        throw EngineError("The file '" + path + "' is read-only.", SQLITE_READONLY);

    // Damaged pages are caught when read, and the file is not mapped into memory.
    execSql(db.get(), "PRAGMA cell_size_check=ON; PRAGMA mmap_size=0");
    {
        Statement mode(db.get(), "PRAGMA journal_mode");
        StatementUse use(mode);
        if (mode.step() && mode.columnText(0) == std::string_view("wal")) {
            mode.reset();
            execSql(db.get(), "PRAGMA journal_mode=DELETE");
        }
    }
    return db;
}

void syncFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int openError = errno;
        throw EngineError("Cannot open '" + path + "': " + std::strerror(openError), SQLITE_CANTOPEN, openError);
    }
    const int rc = ::fsync(fd);
    const int syncError = errno;
    ::close(fd);
    // A full disk often shows only here, with delayed allocation: the errno tells it.
    if (rc != 0)
        throw EngineError("Cannot write '" + path + "' to the disk: " + std::strerror(syncError), SQLITE_IOERR_FSYNC,
                          syncError);
}

}  // namespace engine::detail
