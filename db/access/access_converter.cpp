#include "db/access/access_converter.h"

#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>

#include "db/access/access_error.h"
#include "db/access/access_file.h"
#include "db/access/conversion_folder.h"
#include "db/access/lock_file.h"
#include "db/engine/catalogue_writer.h"
#include "db/engine/engine_error.h"

namespace accessdb {
namespace {

// Rows between two calls of the hooks: often enough for a responsive window,
// rarely enough to cost nothing.
constexpr std::int64_t rowsPerHook = 256;

engine::NewTable newTable(const AccessTable& table)
{
    engine::NewTable out;
    out.name = table.name;
    for (const auto& field : table.fields) {
        engine::NewField made{field.name, field.kind, field.size, field.required, field.allowZeroLength, {}};
        if (field.autoNumber) made.nextCounter = table.nextAutoNumber.value_or(0);
        out.fields.push_back(std::move(made));
    }
    for (const auto& index : table.indexes) {
        engine::NewIndex made{index.name, {}, index.primary, index.unique};
        for (const auto& field : index.fields) made.fields.push_back({field.name, field.descending});
        out.indexes.push_back(std::move(made));
    }
    return out;
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

void syncFolderOf(const std::string& path)
{
    const std::string folder = folderOf(path);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // A folder that cannot be opened cannot be synced; the file itself is.
    if (fd < 0) return;
    const int rc = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (rc != 0)
        throw TovaskADODB::EDatabaseError("nie daje się zapisać na dysk folderu nowego pliku: " +
                                          std::string(std::strerror(error)));
}

}  // namespace

ConversionSummary ConvertAccessFile(const std::string& accessPath, const std::string& newPath,
                                    const ConversionHooks& hooks, engine::Durability durability)
{
    if (accessFileInUse(accessPath))
        throw EAccessInUse("plik jest otwarty w innym programie (jego plik blokady " + lockFilePath(accessPath) +
                           " jest zajęty)");
    // The whole structure is read, and can be carried, before anything is written.
    AccessFile source(accessPath);
    std::int64_t total = 0;
    for (const auto& table : source.tables()) total += table.rowCount;

    const auto taken = [&] { return ETargetExists("plik " + newPath + " już istnieje, a niczego nie nadpisuję"); };
    struct stat existing {};
    if (::lstat(newPath.c_str(), &existing) == 0) throw taken();
    // The file is written in a folder of its own and takes its name only once
    // the whole Access file has been read, so that a crash while reading
    // (inside libmdb too) leaves no file under that name.
    const ConversionFolder folder(folderOf(newPath));
    const std::string written = folder.PathOf("nowy.mdb");

    ConversionSummary summary;
    try {
        engine::CatalogueWriter writer(written);
        std::int64_t done = 0;
        if (hooks.progress) hooks.progress(0, total);
        for (std::size_t t = 0; t < source.tables().size(); ++t) {
            writer.beginTable(newTable(source.tables()[t]));
            source.readRows(t, [&](const std::vector<engine::StoredValue>& row) {
                writer.appendRow(row);
                if (++done % rowsPerHook == 0) {
                    if (hooks.progress) hooks.progress(done, total);
                    if (hooks.pendingInput) hooks.pendingInput();
                }
            });
            writer.endTable();
            if (hooks.pendingInput) hooks.pendingInput();
        }
        writer.finish(durability);
        if (hooks.progress) hooks.progress(done, total);
        // The end is shown too, as a row copy shows its last row.
        if (hooks.pendingInput) hooks.pendingInput();
        summary.tables = static_cast<int>(source.tables().size());
        summary.rows = done;
    } catch (const engine::EngineError& error) {
        // The engine's error stays within, for its cause (a full disk, say) to be told.
        std::throw_with_nested(
            TovaskADODB::EDatabaseError("nie daje się zapisać nowego pliku " + newPath + ": " + error.what()));
    }
    // The whole file has been read and the new one synced: it takes its name,
    // never over another file's.
    // Moved, so that the file never has two names; linked where the file
    // system cannot refuse to move over another file.
    int moved = ::renameat2(AT_FDCWD, written.c_str(), AT_FDCWD, newPath.c_str(), RENAME_NOREPLACE);
    if (moved != 0 && (errno == EINVAL || errno == ENOSYS)) moved = ::link(written.c_str(), newPath.c_str());
    if (moved != 0) {
        const int error = errno;
        if (error == EEXIST) throw taken();
        throw TovaskADODB::EDatabaseError("nie daje się nadać nazwy nowemu plikowi " + newPath + ": " +
                                          std::string(std::strerror(error)));
    }
    if (durability == engine::Durability::Unsynced) return summary;
    try {
        syncFolderOf(newPath);
    } catch (const TovaskADODB::EDatabaseError&) {
        ::unlink(newPath.c_str());
        throw;
    }
    return summary;
}

}  // namespace accessdb
