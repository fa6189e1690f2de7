#include "tests/reliability/file_state.h"

#include <sqlite3.h>

#include "tests/support/sqlite_file.h"
#include "tests/support/temp_folder.h"

namespace reliability {

void RollBackHotJournal(const std::string& path)
{
    test_support::SqliteFile file(path, test_support::SqliteFile::Mode::ReadWrite);
    sqlite3_busy_timeout(file.handle(), 2000);
    file.exec("SELECT count(*) FROM sqlite_master");
}

std::string RecoveredContent(const std::string& path)
{
    RollBackHotJournal(path);
    return test_support::DumpContent(path);
}

bool HasJetHeader(const std::string& bytes)
{
    return bytes.starts_with(std::string("\x00\x01\x00\x00Standard Jet DB", 19));
}

std::string CatalogueContent(const std::string& path)
{
    const std::string bytes = test_support::FileBytes(path);
    if (HasJetHeader(bytes)) return kAccessMark + bytes;
    return RecoveredContent(path);
}

std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder)
{
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() == ".mdb")
            contents[entry.path().filename().string()] = CatalogueContent(entry.path().string());
    return contents;
}

void CopyFolderFiles(const std::filesystem::path& from, const std::filesystem::path& to)
{
    for (const auto& entry : std::filesystem::directory_iterator(from))
        if (entry.is_regular_file())
            std::filesystem::copy_file(entry.path(), to / entry.path().filename(),
                                       std::filesystem::copy_options::overwrite_existing);
}

}  // namespace reliability
