// The file after the upgrade's compaction: not larger than before it, sound,
// and still every row.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "patch/catalogue_check.h"
#include "patch/films_upgrade.h"
#include "patch/loans_upgrade.h"
#include "tests/support/catalogue_folder.h"
#include "tests/support/recording_host.h"
#include "tests/support/sqlite_file.h"

namespace patch_test {
namespace {

TEST(UpgradeCompaction, UpgradedFileShrinksOrStaysAndPassesTheIntegrityCheck)
{
    CatalogueFolder folder;
    const auto path = folder.Add("a.mdb", sample::Level::ReadyYesNo, 400, 150);
    RecordingHost host(folder.Folder());
    auto& db = host.components.dbFilm;
    auto& table = host.components.mdbFilmy;

    // Both upgrades as the run makes them, committed but not yet compacted.
    db.SetConnectionString(patch::CatalogueConnectionString(path));
    db.OpenBase();
    db.BeginTrans();
    table.SetTableName("FILMY");
    table.Open();
    patch::UpgradeFilms(host, host.components, false);
    table.SetTableName("WYPOZYCZ");
    table.Open();
    patch::UpgradeLoans(host, host.components, false);
    db.CommitTrans();
    db.CloseBase();
    const auto uncompacted = std::filesystem::file_size(path);
    const auto content = DumpContent(path);

    db.Compact(path, "");

    EXPECT_LE(std::filesystem::file_size(path), uncompacted);
    EXPECT_EQ(IntegrityCheck(path), "ok");
    EXPECT_EQ(DumpContent(path), content);
    // The compacted copy took the file's own name, and nothing is left beside it.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Folder()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"a.mdb"});
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(folder.PathOf("a.mdb"))));
}

}  // namespace
}  // namespace patch_test
