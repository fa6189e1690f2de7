#include <filesystem>

#include "db/TovaskADODB/compaction_folder.h"
#include "db/TovaskADODB/database_error.h"
#include "db/TovaskADODB/messages.h"
#include "db/TovaskADODB/tovask_ado_base.h"
#include "db/engine/writer_hold.h"

namespace TovaskADODB {

namespace {

// A link named like the catalogue must stay a link: the copy replaces the file it
// points to, beside that file. A name that does not resolve is used as given.
std::string FileBehindLinks(const std::string& fileName)
{
    std::error_code error;
    const auto resolved = std::filesystem::canonical(fileName, error);
    return error ? fileName : resolved.string();
}

}  // namespace

void TTovaskADOBase::Compact(const std::string& linkOrFileName, const std::string& password)
{
    if (!engine_) DatabaseError(Messages::NoDaoVersion);
    const std::filesystem::path fileName = FileBehindLinks(linkOrFileName);
    // SQLite forbids replacing a database file that is open in this process.
    if (engine::isFileOpenInProcess(fileName.string())) DatabaseError(Messages::BaseOpen);
    // The copy must sit on the file's own file system so that the rename replaces it atomically.
    CompactionFolder temporary(fileName.parent_path(), fileName.filename().string());
    // From the start of the copy to the rename other programs may read the file but
    // not write it: a write committed in between would go to the file the rename
    // throws away.
    const engine::WriterHold hold(fileName.string());
    const std::string connect = password.empty() ? std::string() : ";pwd=" + password;
    engine_->compactDatabase(fileName.string(), temporary.CopyPath(), connect);
    temporary.ReplaceWithCopy();
}

}  // namespace TovaskADODB
