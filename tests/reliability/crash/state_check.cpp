#include "tests/reliability/crash/state_check.h"

#include <stdexcept>

#include "tests/reliability/file_state.h"
#include "tests/reliability/runner_process.h"
#include "tests/support/sqlite_file.h"

namespace crash {

namespace fs = std::filesystem;

namespace {

std::string Journal(const std::string& catalogue)
{
    return catalogue + "-journal";
}

std::string Key(const std::string& name, std::uint64_t first, std::uint64_t second = 0)
{
    return name + "|" + std::to_string(first) + "|" + std::to_string(second);
}

std::string SizeText(const Entry& entry)
{
    return std::to_string(entry.bytes->data().size()) + " bytes";
}

}  // namespace

StateChecker::StateChecker(TrialFacts facts) : facts_(std::move(facts)) {}

std::vector<std::string> StateChecker::Check(const FolderImage& image, bool afterRun)
{
    std::vector<std::string> problems;
    std::string runKey;  // what the second run depends on
    for (const auto& [path, before] : facts_.original) {
        const auto it = image.find(path);
        if (it == image.end()) {
            problems.push_back(path + " is missing");
            continue;
        }
        const Entry& now = it->second;
        if (now.folder != before.folder || now.mode != before.mode) {
            problems.push_back(path + " has changed its kind or permissions");
            continue;
        }
        if (facts_.keptNames.contains(path)) {
            const std::string problem = JudgeMoved(path, image);
            if (!problem.empty()) problems.push_back(path + " " + problem);
            runKey += path + "|" + std::to_string(now.bytes->hash()) + "\n";
            continue;
        }
        if (!IsCatalogue(path)) {
            if (!now.folder && now.bytes->data() != before.bytes->data()) problems.push_back(path + " has changed");
            continue;
        }
        // The run writes a catalogue anew beside it and renames the new file
        // into place; the catalogue itself is never written, so every cut finds
        // it byte for byte as it was or as the run left it, and without a journal.
        const auto left = facts_.finished.find(path);
        if (now.bytes->data() != before.bytes->data() &&
            (left == facts_.finished.end() || !left->second.bytes || now.bytes->data() != left->second.bytes->data()))
            problems.push_back(path +
                               " was written in place: its bytes are neither those before the run nor those "
                               "the run left (" +
                               SizeText(now) + ")");
        if (image.contains(Journal(path))) problems.push_back(path + " has a journal: it was written in place");
        const auto journal = image.find(Journal(path));
        const Verdict& verdict = Judge(path, now, journal == image.end() ? nullptr : &journal->second);
        if (!verdict.problem.empty()) problems.push_back(path + " " + verdict.problem);
        runKey += Key(path, verdict.recovered) + (verdict.journalLeft ? "+journal" : "") + "\n";
    }
    for (const auto& [path, entry] : image) {
        if (path.ends_with("-journal") && facts_.keptNames.contains(path.substr(0, path.size() - 8))) continue;
        const bool journalOfCatalogue = path.ends_with("-journal") && IsCatalogue(path.substr(0, path.size() - 8));
        if (!facts_.original.contains(path) && !journalOfCatalogue)
            runKey += (entry.folder ? "folder " : "file ") + path + "\n";
    }
    if (afterRun) {
        for (const auto& name : facts_.reportedFinished) {
            const auto it = image.find(name);
            const bool asLeft = it != image.end() && it->second.bytes &&
                                it->second.bytes->data() == facts_.finished.at(name).bytes->data() &&
                                !image.contains(Journal(name));
            if (!asLeft)
                problems.push_back(name + " was reported upgraded, yet after the run the disk may hold " +
                                   (it == image.end() || !it->second.bytes
                                        ? std::string("no such file")
                                        : "other bytes (" + SizeText(it->second) + ")") +
                                   (image.contains(Journal(name)) ? " and a journal" : ""));
        }
    }
    if (!problems.empty()) return problems;

    auto [result, added] = secondRunResults_.try_emplace(runKey);
    if (added) result->second = SecondRun(image);
    return result->second;
}

const StateChecker::Verdict& StateChecker::Judge(const std::string& name, const Entry& file, const Entry* journal)
{
    const std::string key = Key(name, file.bytes->hash(), journal && journal->bytes ? journal->bytes->hash() : 0) +
                            (journal ? "+journal" : "");
    if (const auto it = verdicts_.find(key); it != verdicts_.end()) return it->second;

    const fs::path folder = facts_.scratch / "judge";
    FolderImage alone{{name, file}};
    if (journal) alone.emplace(Journal(name), *journal);
    WriteFolder(alone, folder);
    ++opened_;
    Verdict verdict;
    const fs::path path = folder / name;
    try {
        reliability::RollBackHotJournal(path.string());
        verdict = JudgeRecovered(name, path);
    } catch (const std::exception& error) {
        verdict.problem =
            "cannot be opened (" + SizeText(file) + (journal ? " with a journal" : "") + "): " + error.what();
    }
    verdict.journalLeft = fs::exists(folder / Journal(name));
    return verdicts_.emplace(key, std::move(verdict)).first->second;
}

std::string StateChecker::JudgeMoved(const std::string& name, const FolderImage& image)
{
    const std::string& original = facts_.original.at(name).bytes->data();
    const std::string& keptName = facts_.keptNames.at(name);
    const auto kept = image.find(keptName);
    const bool keptIsOriginal = kept != image.end() && kept->second.bytes && kept->second.bytes->data() == original;
    if (image.at(name).bytes->data() == original) {
        if (kept == image.end()) return {};
        const auto finished = facts_.finished.find(name);
        if (kept->second.bytes && finished != facts_.finished.end() &&
            kept->second.bytes->data() == finished->second.bytes->data())
            return {};
        return "is as before, but " + keptName + " holds " +
               (keptIsOriginal ? "the original too" : "other bytes (" + SizeText(kept->second) + ")");
    }
    const auto journal = image.find(Journal(name));
    const Verdict& verdict = Judge(name, image.at(name), journal == image.end() ? nullptr : &journal->second);
    if (!verdict.problem.empty()) return verdict.problem;
    if (verdict.state != "upgraded") return "is neither the Access original nor upgraded";
    if (!keptIsOriginal)
        return "is upgraded, but " + keptName + " " +
               (kept == image.end() ? std::string("is missing") : "holds other bytes (" + SizeText(kept->second) + ")");
    return {};
}

StateChecker::Verdict StateChecker::JudgeRecovered(const std::string& name, const fs::path& path)
{
    const std::string bytes = ReadFileBytes(path);
    const std::uint64_t recovered = HashBytes(bytes);
    const std::string key = Key(name, recovered);
    if (const auto it = recoveredVerdicts_.find(key); it != recoveredVerdicts_.end()) return it->second;

    Verdict verdict;
    verdict.recovered = recovered;
    try {
        const std::string content = test_support::DumpContent(path.string());
        if (content == facts_.originalContent.at(name))
            verdict.state = "as before";
        else if (content == facts_.upgradedContent.at(name))
            verdict.state = "upgraded";
        else
            verdict.problem = "is neither as before nor upgraded (" + std::to_string(bytes.size()) + " bytes)";
        if (verdict.problem.empty()) {
            const std::string integrity = test_support::IntegrityCheck(path.string());
            if (integrity != "ok") verdict.problem = "fails the integrity check: " + integrity;
        }
    } catch (const std::exception& error) {
        verdict.problem = "cannot be read (" + std::to_string(bytes.size()) + " bytes): " + error.what();
    }
    return recoveredVerdicts_.emplace(key, verdict).first->second;
}

std::vector<std::string> StateChecker::SecondRun(const FolderImage& image)
{
    ++secondRuns_;
    const fs::path folder = facts_.scratch / "run";
    const fs::path output = facts_.scratch / "second-run.txt";
    WriteFolder(image, folder);
    reliability::WaitFor(reliability::StartRunner(facts_.runner, folder, output));
    const std::string text = reliability::ReadText(output);

    std::vector<std::string> problems;
    const std::string listed =
        "W folderze " + folder.string() + "/: " + std::to_string(facts_.originalContent.size()) + " ";
    if (text.find(listed) == std::string::npos)
        problems.push_back("the second run listed other files: " + text.substr(0, text.find('\n')));
    const FolderImage after = ReadFolder(folder);
    std::set<std::string> keptNames;
    for (const auto& [name, kept] : facts_.keptNames) keptNames.insert(kept);
    for (const auto& [path, entry] : after)
        if (!facts_.original.contains(path) && !keptNames.contains(path))
            problems.push_back(path + " is left in the folder after the second run");
    for (const auto& [name, kept] : facts_.keptNames)
        if (!after.contains(kept) || after.at(kept).bytes->data() != facts_.original.at(name).bytes->data())
            problems.push_back(name + " is not kept as " + kept + " after the second run");
    for (const auto& [path, before] : facts_.original) {
        if (!after.contains(path)) {
            problems.push_back(path + " is missing after the second run");
        } else if (IsCatalogue(path)) {
            const std::string file = (folder / path).string();
            if (reliability::RecoveredContent(file) != facts_.upgradedContent.at(path))
                problems.push_back(path + " is not upgraded by the second run");
            else if (test_support::IntegrityCheck(file) != "ok")
                problems.push_back(path + " fails the integrity check after the second run");
        } else if (!before.folder && after.at(path).bytes->data() != before.bytes->data()) {
            problems.push_back(path + " is changed by the second run");
        }
    }
    return problems;
}

}  // namespace crash
