#include "tests/reliability/crash/crash_trial.h"

#include <link.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <stdexcept>
#include <unordered_set>

#include "patch/access_move.h"
#include "tests/reliability/crash/crash_model.h"
#include "tests/reliability/crash/crash_states.h"
#include "tests/reliability/crash/folder_operations.h"
#include "tests/reliability/crash/io_log.h"
#include "tests/reliability/crash/io_log_reader.h"
#include "tests/reliability/crash/state_check.h"
#include "tests/reliability/file_state.h"
#include "tests/reliability/runner_process.h"
#include "tests/reliability/sample_files.h"
#include "tests/support/sqlite_file.h"
#include "tests/support/temp_folder.h"
#include "tools/sample/sample_catalogue.h"

namespace crash {

namespace {

namespace fs = std::filesystem;
using Kind = FolderOperation::Kind;
using reliability::SampleFile;
using reliability::WriteSampleFiles;

// The catalogue whose permissions are not the default: they must survive the compaction.
constexpr const char* kPrivateCatalogue = "filmy tak-nie.mdb";
constexpr const char* kAccessCatalogue = "archiwum Access.mdb";

void WriteCatalogues(const fs::path& folder, const CrashTestOptions& options)
{
    // The run takes them in name order: one upgraded in full comes last, so
    // that the end of the run follows a compaction.
    std::vector<SampleFile> files = {
        // Moved from the Access format: its original is kept beside it.
        {kAccessCatalogue, sample::Level::ReadyYesNo, options.films / 2, sample::FileFormat::Access},
        // At the target level already: only converted, never written anew by an upgrade.
        {"archiwum gotowe.mdb", sample::Level::Upgraded, options.films / 4, sample::FileFormat::Access},
        {"bez wypożyczeń.mdb", sample::Level::NoLoans, options.films / 2},
        {"brak patcha.mdb", sample::Level::NoVideoDvd, options.films / 4},
        {"filmy liczbowe.mdb", sample::Level::ReadyLong, options.films},
        {kPrivateCatalogue, sample::Level::ReadyYesNo, options.films},
    };
    if (options.bigFilms > 0) files.push_back({"duża kolekcja.mdb", sample::Level::ReadyYesNo, options.bigFilms});
    WriteSampleFiles(folder, files, 31);
    fs::permissions(folder / kPrivateCatalogue, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    std::ofstream(folder / "opis.txt") << "Katalog filmów domowych. Kopia zapasowa w szafie.\n";
}

// The checker writes thousands of small folders and SQLite syncs them as it
// rolls journals back: on a memory file system the syncs cost nothing.
fs::path ScratchParent()
{
    const fs::path memory = "/dev/shm";
    std::error_code error;
    return fs::is_directory(memory, error) && ::access(memory.c_str(), W_OK) == 0 ? memory : fs::temp_directory_path();
}

// The sanitizer runtime this process runs with, if any: a runner of the same
// build needs it first in LD_PRELOAD, before the recorder.
std::string SanitizerRuntime()
{
    std::string found;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) {
            if (info->dlpi_name && std::strstr(info->dlpi_name, "/libasan.so")) {
                *static_cast<std::string*>(data) = info->dlpi_name;
                return 1;
            }
            return 0;
        },
        &found);
    return found;
}

// The catalogues the run's output reports upgraded or already upgraded.
std::set<std::string> ReportedFinished(const std::string& output, const FolderImage& original)
{
    std::set<std::string> finished;
    std::istringstream lines(output);
    std::string current;
    for (std::string line; std::getline(lines, line);) {
        if (original.contains(line)) current = line;
        // A films table upgraded without a loans table is written anew and renamed into place too;
        // a catalogue moved from Access is finished however its upgrade ended.
        const bool upgraded = line == "  -> uaktualniona" || line == "  -> już uaktualniona" ||
                              line.starts_with("  -> tabela FILMY uaktualniona, brak tabeli WYPOZYCZ") ||
                              line.starts_with("  -> przeniesiona z formatu Access");
        if (upgraded && !current.empty()) finished.insert(current);
    }
    return finished;
}

std::map<std::string, std::string> CatalogueContents(const FolderImage& image, const fs::path& folder)
{
    WriteFolder(image, folder);
    std::map<std::string, std::string> contents;
    for (const auto& [path, entry] : image) {
        if (entry.folder || !path.ends_with(".mdb") || path.find('/') != std::string::npos) continue;
        // An Access file is judged by its bytes alone.
        contents[path] = reliability::HasJetHeader(entry.bytes->data())
                             ? kAccessContent
                             : test_support::DumpContent((folder / path).string());
    }
    return contents;
}

// What each file is to the run, to name the step a cut falls in.
class StepNames {
public:
    StepNames(const OperationLog& log, const std::map<std::string, std::string>& catalogues)
    {
        for (const auto& [path, inode] : log.initialInodes) roles_[inode] = path;
        std::map<std::string, std::string> copies;  // path of a copy -> its catalogue
        for (const auto& operation : log.operations)
            if (operation.kind == Kind::Rename && catalogues.contains(operation.path2)) {
                roles_[operation.inode] = operation.path2 + ": compaction copy";
                copies[operation.path] = operation.path2;
            }
        for (const auto& operation : log.operations) {
            if (operation.kind != Kind::Create || roles_.contains(operation.inode)) continue;
            std::string role = operation.path;
            if (operation.path.ends_with("-journal")) {
                const std::string file = operation.path.substr(0, operation.path.size() - 8);
                if (catalogues.contains(file)) role = file + ": journal";
                if (copies.contains(file)) role = copies.at(file) + ": copy's journal";
            }
            roles_[operation.inode] = role;
        }
    }

    std::string Of(const FolderOperation* operation) const
    {
        if (!operation) return "before the run";
        if (operation->kind == Kind::SyncAll) return "sync of everything";
        const auto it = roles_.find(operation->inode);
        const std::string role = operation->inode == 0 ? std::string("folder")
                                 : it != roles_.end()  ? it->second
                                                       : operation->path;
        switch (operation->kind) {
        case Kind::Create: return role + ": created";
        case Kind::Mkdir: return role + ": folder made";
        case Kind::Write: return role + ": write";
        case Kind::Truncate: return role + ": truncated";
        case Kind::Grow: return role + ": allocated";
        case Kind::Sync: return role + ": sync";
        case Kind::Rename: return role + ": renamed onto " + operation->path2;
        case Kind::Exchange: return role + ": exchanged with " + operation->path2;
        case Kind::Unlink: return role + ": deleted";
        case Kind::Rmdir: return role + ": removed";
        case Kind::Chmod: return role + ": permissions set";
        case Kind::SyncAll: break;
        }
        return role;
    }

private:
    std::map<int, std::string> roles_;
};

// Leaves the chosen syncs out of the log; returns their descriptions.
std::vector<std::string> DropSyncs(OperationLog& log, DroppedSync dropped,
                                   const std::map<std::string, std::string>& catalogues)
{
    if (dropped == DroppedSync::None) return {};
    auto& operations = log.operations;
    std::set<std::size_t> drop;
    std::set<int> copies;
    for (std::size_t i = 0; i < operations.size(); ++i)
        if (operations[i].kind == Kind::Rename && catalogues.contains(operations[i].path2))
            copies.insert(operations[i].inode);
    for (std::size_t i = 0; i < operations.size(); ++i) {
        const FolderOperation& rename = operations[i];
        if (rename.kind != Kind::Rename || !catalogues.contains(rename.path2)) continue;
        if (dropped == DroppedSync::CopySync) {
            for (std::size_t j = i; j-- > 0;)
                if (operations[j].kind == Kind::Sync && operations[j].inode == rename.inode) {
                    drop.insert(j);
                    break;
                }
        } else if (dropped == DroppedSync::FolderSync) {
            for (std::size_t j = i + 1; j < operations.size(); ++j)
                if (operations[j].kind == Kind::Sync && operations[j].inode == rename.folder) {
                    drop.insert(j);
                    break;
                }
        }
    }
    if (dropped == DroppedSync::AllCopySyncs)
        for (std::size_t i = 0; i < operations.size(); ++i)
            if (operations[i].kind == Kind::Sync && copies.contains(operations[i].inode)) drop.insert(i);

    std::vector<std::string> descriptions;
    std::vector<FolderOperation> kept;
    for (std::size_t i = 0; i < operations.size(); ++i) {
        if (drop.contains(i))
            descriptions.push_back("operation " + std::to_string(i + 1) + ": " + operations[i].Describe());
        else
            kept.push_back(std::move(operations[i]));
    }
    operations = std::move(kept);
    return descriptions;
}

class Trial {
public:
    Trial(const CrashTestOptions& options, CrashTestReport& report, std::ostream& progress)
        : options_(options), report_(report), progress_(progress)
    {
    }

    void Run()
    {
        const fs::path folder = work_ / "katalogi";
        const fs::path& scratch = scratch_.path();
        fs::create_directories(folder);
        WriteCatalogues(folder, options_);
        TrialFacts facts;
        facts.runner = options_.runner;
        facts.scratch = scratch;
        facts.original = ReadFolder(folder);

        const std::string output = Record(folder);
        facts.finished = ReadFolder(folder);
        facts.originalContent = CatalogueContents(facts.original, scratch / "original");
        facts.upgradedContent = CatalogueContents(facts.finished, scratch / "finished");
        facts.reportedFinished = ReportedFinished(output, facts.original);
        for (const auto& [name, content] : facts.originalContent)
            if (content == kAccessContent) facts.keptNames[name] = patch::KeptOriginalName(name);
        progress_ << "recorded run:\n" << output;

        OperationLog log = ResolveOperations(ReadIoLog(work_ / "io.log", folder.string()), facts.original);
        for (const auto& call : log.unsupported)
            report_.recorded.problems.push_back({"the run changed the folder in a way the test cannot model: " + call});
        if (!report_.recorded.problems.empty() || !RecordingIsComplete(log, facts.finished)) return;
        report_.operations = log.operations.size();

        StateChecker checker(std::move(facts));
        const auto& catalogues = checker.Facts().originalContent;
        TryEveryCut(log, checker, options_.thorough, {}, report_.recorded);
        // A missing sync is caught only by what the log as recorded does not show.
        std::set<std::string> known;
        for (const auto& problem : report_.recorded.problems) known.insert(problem.what);
        for (const DroppedSync dropped : options_.mutations) {
            CrashTestReport::Mutation mutation{dropped};
            OperationLog mutated = log;
            mutation.droppedSyncs = DropSyncs(mutated, dropped, catalogues);
            TryEveryCut(mutated, checker, false, known, mutation.found);
            report_.mutations.push_back(std::move(mutation));
        }
        report_.cataloguesOpened = checker.CataloguesOpened();
        report_.secondRuns = checker.SecondRuns();
    }

private:
    // Runs the runner with the recorder; returns its output.
    std::string Record(const fs::path& folder)
    {
        std::string preload = options_.recorder;
        if (const std::string runtime = SanitizerRuntime(); !runtime.empty()) preload = runtime + ":" + preload;
        const fs::path output = work_ / "recorded-run.txt";
        const int status = reliability::WaitFor(reliability::StartRunner(
            options_.runner, folder, output,
            {"LD_PRELOAD=" + preload, std::string(crash_log::kFolderVariable) + "=" + folder.string(),
             std::string(crash_log::kLogVariable) + "=" + (work_ / "io.log").string()}));
        const std::string text = reliability::ReadText(output);
        // Two of the catalogues are reported as problems: exit status 1.
        if (!WIFEXITED(status) || WEXITSTATUS(status) > 1)
            throw std::runtime_error("the recorded run failed (status " + std::to_string(status) + "):\n" + text);
        return text;
    }

    // Replayed in full, the log must give the folder the run left: else the
    // recorder missed a call.
    bool RecordingIsComplete(const OperationLog& log, const FolderImage& finished)
    {
        CrashModel model(log);
        while (!model.AtEnd()) model.Advance();
        const std::string differences = Differences(finished, model.Current());
        if (differences.empty()) return true;
        report_.recorded.problems.push_back({"the recording misses changes the run made:\n" + differences});
        return false;
    }

    // With known given, stops at the first problem not among them.
    void TryEveryCut(const OperationLog& log, StateChecker& checker, bool thorough,
                     const std::optional<std::set<std::string>>& known, StatesFound& found)
    {
        const StepNames steps(log, checker.Facts().originalContent);
        CrashModel model(log);
        std::unordered_set<std::uint64_t> seen;
        const std::size_t cuts = log.operations.size() + 1;
        for (std::size_t cut = 0; cut < cuts; ++cut) {
            if (cut > 0) model.Advance();
            const bool afterRun = model.AtEnd();
            const std::string step = steps.Of(cut > 0 ? &log.operations[cut - 1] : nullptr);
            for (const CrashState& state : StatesAt(model, thorough)) {
                ++found.statesTried;
                ++found.statesByStep[step];
                const FolderImage image = model.Image(state.namesKept, state.data);
                if (!seen.insert(HashImage(image) * 2 + (afterRun ? 1 : 0)).second) continue;
                ++found.statesChecked;
                for (const auto& problem : checker.Check(image, afterRun))
                    if (!known || !known->contains(problem)) Note(found, problem, DescribeState(model, state, log));
                if (known && !found.problems.empty()) return;
            }
            if (cut % 200 == 0 || cut + 1 == cuts)
                progress_ << "cut " << cut << " of " << cuts - 1 << ": " << found.statesChecked << " states checked, "
                          << found.problems.size() << " problems\n"
                          << std::flush;
        }
    }

    static void Note(StatesFound& found, const std::string& problem, std::string state)
    {
        const auto same = [&](const CrashProblem& known) { return known.what == problem; };
        auto it = std::find_if(found.problems.begin(), found.problems.end(), same);
        if (it == found.problems.end()) {
            found.problems.push_back({problem, std::move(state)});
            it = std::prev(found.problems.end());
        }
        ++it->states;
    }

    const CrashTestOptions& options_;
    CrashTestReport& report_;
    std::ostream& progress_;
    test_support::TempFolder work_;
    test_support::TempFolder scratch_{ScratchParent()};
};

}  // namespace

CrashTestReport RunCrashTest(const CrashTestOptions& options, std::ostream& progress)
{
    CrashTestReport report;
    Trial(options, report, progress).Run();
    return report;
}

}  // namespace crash
