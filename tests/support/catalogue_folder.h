#pragma once
// A temporary folder of sample catalogues, and the patch run over it with a
// host that records what the run shows: the steps nearly every test of the run
// begins with.

#include <memory>
#include <string>
#include <utility>

#include "patch/run_patch.h"
#include "tests/support/recording_host.h"
#include "tests/support/sqlite_file.h"
#include "tests/support/temp_folder.h"
#include "tools/sample/sample_catalogue.h"

namespace patch_test {

using test_support::Cell;
using test_support::DumpContent;
using test_support::ExecuteSql;
using test_support::FileBytes;
using test_support::IntegrityCheck;
using test_support::QueryRows;
using test_support::Rows;

// Runs the patch over folder (ending in '/') with a fresh host made of the
// folder and arguments, and gives the host that saw the run.
template <typename Host = RecordingHost, typename... Arguments>
std::unique_ptr<Host> RunUpgrade(const std::string& folder, Arguments&&... arguments)
{
    auto host = std::make_unique<Host>(folder, std::forward<Arguments>(arguments)...);
    patch::RunPatch(*host);
    return host;
}

// One sample catalogue, and what is done to it before the run.
struct Catalogue {
    sample::Level level = sample::Level::ReadyYesNo;
    int films = 20;
    int loans = 10;
    std::string sql;  // statements run on the file before the upgrade
    std::string name = "a.mdb";
    sample::TableNames tableNames = {};
};

class CatalogueFolder {
public:
    // The folder as the run takes it, ending in '/'.
    std::string Folder() const { return folder_.folder(); }
    std::string PathOf(const std::string& fileName) const { return folder_.file(fileName); }

    // Writes fileName at level with films and loans rows; returns its path.
    std::string Add(const std::string& fileName, sample::Level level, int films = 20, int loans = 10,
                    const sample::TableNames& names = {});
    // The same catalogue as the other program wrote it: an Access (Jet 4) file.
    std::string AddAccess(const std::string& fileName, sample::Level level, int films = 20, int loans = 10);
    // Writes the catalogue and runs its statements on it; returns its path.
    std::string Add(const Catalogue& catalogue);

    // Runs the patch over the folder; see RunUpgrade.
    template <typename Host = RecordingHost, typename... Arguments>
    std::unique_ptr<Host> Upgrade(Arguments&&... arguments) const
    {
        return RunUpgrade<Host>(Folder(), std::forward<Arguments>(arguments)...);
    }

private:
    test_support::TempFolder folder_;
};

// One catalogue alone in its folder, upgraded: its content before the run, and
// the host that saw the run.
class UpgradedCatalogue {
public:
    explicit UpgradedCatalogue(const Catalogue& catalogue, bool keepIdCd = true);

    patch::FileOutcome outcome() const { return host->outcomes.at(0); }
    // The file holds exactly what it held before the run.
    bool unchanged() const { return DumpContent(path) == before; }

    CatalogueFolder folder;
    std::string path;
    std::string before;
    std::unique_ptr<RecordingHost> host;
};

}  // namespace patch_test
