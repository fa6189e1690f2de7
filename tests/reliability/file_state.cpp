#include "tests/reliability/file_state.h"

#include <sqlite3.h>

#include <memory>
#include <stdexcept>

#include "tests/patch/file_content.h"

namespace reliability {

namespace {

struct CloseDb {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};

}  // namespace

void RollBackHotJournal(const std::string& path)
{
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    std::unique_ptr<sqlite3, CloseDb> db(raw);
    if (rc != SQLITE_OK) throw std::runtime_error("cannot open " + path);
    sqlite3_busy_timeout(raw, 2000);
    if (sqlite3_exec(raw, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot read " + path + ": " + sqlite3_errmsg(raw));
}

std::string RecoveredContent(const std::string& path)
{
    RollBackHotJournal(path);
    return patch_test::DumpContent(path);
}

std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder)
{
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() == ".mdb")
            contents[entry.path().filename().string()] = RecoveredContent(entry.path().string());
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
