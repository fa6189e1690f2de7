#include "tests/reliability/kill_trial.h"

#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <random>
#include <stdexcept>
#include <thread>

#include "db/TovaskADODB/folder_entries.h"
#include "patch/access_move.h"
#include "tests/reliability/file_state.h"
#include "tests/reliability/runner_process.h"
#include "tests/reliability/sample_files.h"
#include "tests/support/sqlite_file.h"
#include "tests/support/temp_folder.h"
#include "tools/sample/sample_catalogue.h"

namespace reliability {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Contents = std::map<std::string, std::string>;

void WriteCatalogues(const fs::path& folder, int films)
{
    WriteSampleFiles(folder,
                     {
                         {"filmy tak-nie.mdb", sample::Level::ReadyYesNo, films},
                         {"filmy liczbowe.mdb", sample::Level::ReadyLong, films},
                         {"bez wypożyczeń.mdb", sample::Level::NoLoans, films / 2},
                         {"już gotowa.mdb", sample::Level::Upgraded, films / 4},
                         {"archiwum Access.mdb", sample::Level::ReadyYesNo, films / 2, sample::FileFormat::Access},
                     },
                     11);
}

// The private folders in which a compaction writes its copy, and a catalogue
// in the Access format is moved.
bool IsCompactionTemporary(const std::string& name)
{
    return TovaskADODB::IsPrivateFolderName(name, ".vidarkon-kompaktowanie-") ||
           TovaskADODB::IsPrivateFolderName(name, ".vidarkon-konwersja-");
}

class Trial {
public:
    Trial(const KillTestOptions& options, KillTestReport& report) : options_(options), report_(report)
    {
        WriteCatalogues(originals_.path(), options.films);
        before_ = FolderContents(originals_.path());
        test_support::TempFolder reference;
        CopyFolderFiles(originals_.path(), reference.path());
        const auto start = Clock::now();
        WaitFor(StartRunner(options.runner, reference.path(), reference.path() / "output.txt"));
        fullRun_ = Clock::now() - start;
        fs::remove(reference.path() / "output.txt");
        upgraded_ = FolderContents(reference.path());
    }

    Clock::duration FullRun() const { return fullRun_; }

    // One run killed after delay; returns a line describing what was found.
    std::string KillAfter(Clock::duration delay)
    {
        test_support::TempFolder folder;
        test_support::TempFolder outputs;
        CopyFolderFiles(originals_.path(), folder.path());
        const pid_t runner = StartRunner(options_.runner, folder.path(), outputs.path() / "killed.txt");
        std::this_thread::sleep_for(delay);
        int status = 0;
        if (::waitpid(runner, &status, WNOHANG) == runner) {
            ++report_.finishedBeforeKill;
        } else {
            ::kill(runner, SIGKILL);
            WaitFor(runner);
        }
        ++report_.kills;

        std::string states;
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            const auto name = entry.path().filename().string();
            if (IsCompactionTemporary(name))
                ++report_.leftoverTemporaries;
            else if (!before_.contains(name) && !name.ends_with("-journal") && !IsKeptOriginal(name))
                Problem("unexpected file " + name);
        }
        for (const auto& [name, original] : before_) {
            const auto path = folder.path() / name;
            if (!fs::exists(path)) {
                Problem(name + " is missing");
                states += '!';
                continue;
            }
            const auto content = CatalogueContent(path.string());
            const auto kept = folder.path() / patch::KeptOriginalName(name);
            if (content == original) {
                ++report_.filesAsBefore;
                states += 'o';
                // Between the two steps of a move, the upgraded catalogue may have the kept name already.
                if (IsAccess(original) && fs::exists(kept) && CatalogueContent(kept.string()) != upgraded_.at(name))
                    Problem(patch::KeptOriginalName(name) + " holds something other than the upgraded catalogue");
            } else if (content == upgraded_.at(name)) {
                ++report_.filesUpgraded;
                states += 'U';
                if (IsAccess(original) && (!fs::exists(kept) || CatalogueContent(kept.string()) != original))
                    Problem(name + " is upgraded, but its original is not kept as " + patch::KeptOriginalName(name));
            } else {
                Problem(name + " is neither as before nor upgraded");
                states += '?';
            }
            if (!IsAccess(content) && test_support::IntegrityCheck(path.string()) != "ok")
                Problem(name + " fails the integrity check");
        }

        // The second run must take exactly the catalogues and finish every one.
        WaitFor(StartRunner(options_.runner, folder.path(), outputs.path() / "second.txt"));
        const auto output = ReadText(outputs.path() / "second.txt");
        const std::string listed = "W folderze " + folder.folder() + ": " + std::to_string(before_.size()) + " ";
        if (output.find(listed) == std::string::npos)
            Problem("the second run listed other files: " + output.substr(0, 200));
        for (const auto& [name, target] : upgraded_) {
            const auto path = (folder.path() / name).string();
            if (!fs::exists(path) || CatalogueContent(path) != target)
                Problem(name + " is not upgraded by the second run");
            const auto kept = folder.path() / patch::KeptOriginalName(name);
            if (IsAccess(before_.at(name)) &&
                (!fs::exists(kept) || CatalogueContent(kept.string()) != before_.at(name)))
                Problem(name + " is not kept as " + patch::KeptOriginalName(name) + " after the second run");
        }
        for (const auto& entry : fs::directory_iterator(folder.path()))
            if (IsCompactionTemporary(entry.path().filename().string()))
                Problem("the second run left " + entry.path().filename().string());
        return states;
    }

private:
    static bool IsAccess(const std::string& content) { return content.starts_with(kAccessMark); }
    bool IsKeptOriginal(const std::string& name) const
    {
        return std::any_of(before_.begin(), before_.end(), [&](const auto& file) {
            return IsAccess(file.second) && name == patch::KeptOriginalName(file.first);
        });
    }

    void Problem(const std::string& text)
    {
        report_.problems.push_back("kill " + std::to_string(report_.kills) + ": " + text);
    }

    const KillTestOptions& options_;
    KillTestReport& report_;
    test_support::TempFolder originals_;
    Contents before_;
    Contents upgraded_;
    Clock::duration fullRun_{};
};

}  // namespace

KillTestReport RunKillTest(const KillTestOptions& options, std::ostream& progress)
{
    KillTestReport report;
    Trial trial(options, report);
    const auto fullMs = std::chrono::duration_cast<std::chrono::milliseconds>(trial.FullRun()).count();
    progress << "full run: " << fullMs << " ms; files o = as before, U = upgraded\n";
    std::mt19937_64 random(options.seed);
    // A little past the full run, so that some kills land after the last rename.
    std::uniform_int_distribution<long long> delays(0, fullMs + fullMs / 20);
    for (int i = 0; i < options.kills; ++i) {
        const auto delay = std::chrono::milliseconds(delays(random));
        const auto states = trial.KillAfter(delay);
        progress << "kill " << (i + 1) << " after " << delay.count() << " ms: " << states << "\n" << std::flush;
    }
    return report;
}

}  // namespace reliability
