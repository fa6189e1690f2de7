#include "db/access/access_converter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "db/access/access_error.h"
#include "db/access/access_file.h"
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

void syncFolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
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
                                    const ConversionHooks& hooks)
{
    if (accessFileInUse(accessPath))
        throw EAccessInUse("plik jest otwarty w innym programie (jego plik blokady " + lockFilePath(accessPath) +
                           " jest zajęty)");
    // The whole structure is read, and can be carried, before anything is written.
    AccessFile source(accessPath);
    std::int64_t total = 0;
    for (const auto& table : source.tables()) total += table.rowCount;

    ConversionSummary summary;
    try {
        engine::CatalogueWriter writer(newPath);
        std::int64_t done = 0;
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
        writer.finish();
        if (hooks.progress) hooks.progress(done, total);
        summary.tables = static_cast<int>(source.tables().size());
        summary.rows = done;
    } catch (const engine::EngineError& error) {
        if (error.systemErrno() == EEXIST)
            throw ETargetExists("plik " + newPath + " już istnieje, a niczego nie nadpisuję");
        throw TovaskADODB::EDatabaseError("nie daje się zapisać nowego pliku " + newPath + ": " + error.what());
    }
    syncFolderOf(newPath);
    return summary;
}

}  // namespace accessdb
