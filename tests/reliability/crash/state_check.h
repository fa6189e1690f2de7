#pragma once
// Judges one crash image as the next program start would meet it: every
// catalogue, once SQLite has rolled back its hot journal, holds what it held
// before the run or what the run made of it, and passes SQLite's integrity
// check; a catalogue is never written in place (its bytes are those before the
// run or those the run left, with no journal); no other file has changed; a catalogue the run reported finished is on
// the disk as the run left it once the run has ended; and a second run lists
// the same catalogues, finishes every one and leaves nothing else behind.
//
// Verdicts are kept: a catalogue is opened once for each pair of bytes of the
// file and of its journal, and the second run made once for each set of
// recovered catalogues and leftover names (it does not read other files).

#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/reliability/crash/folder_image.h"

namespace crash {

struct TrialFacts {
    std::string runner;
    std::filesystem::path scratch;                       // a folder of the checker's own
    FolderImage original;                                // the folder before the run
    FolderImage finished;                                // the folder after the run
    std::map<std::string, std::string> originalContent;  // by catalogue name: every table and row
    std::map<std::string, std::string> upgradedContent;
    // catalogues the run reported upgraded, already upgraded, or with the films table upgraded alone
    std::set<std::string> reportedFinished;
    // Catalogues in the Access format (their original content is kAccessContent),
    // by name: the name their original is kept under once they are moved.
    std::map<std::string, std::string> keptNames;
};

// The content recorded for a catalogue in the Access format, which is judged by its bytes.
inline const std::string kAccessContent = "<Access>";

class StateChecker {
public:
    explicit StateChecker(TrialFacts facts);

    // afterRun: the cut lies after the run had ended.
    std::vector<std::string> Check(const FolderImage& image, bool afterRun);

    const TrialFacts& Facts() const { return facts_; }
    int CataloguesOpened() const { return opened_; }
    int SecondRuns() const { return secondRuns_; }

private:
    struct Verdict {
        std::string problem;  // empty for a sound catalogue
        std::string state;    // "as before", "upgraded"
        std::uint64_t recovered = 0;
        bool journalLeft = false;
    };

    const Verdict& Judge(const std::string& name, const Entry& file, const Entry* journal);
    // A catalogue in the Access format: the original under its own name (and
    // under the kept name at most the upgraded catalogue, exactly as the run
    // made it), or the upgraded catalogue there and the original under the kept name.
    std::string JudgeMoved(const std::string& name, const FolderImage& image);
    Verdict JudgeRecovered(const std::string& name, const std::filesystem::path& path);
    std::vector<std::string> SecondRun(const FolderImage& image);
    bool IsCatalogue(const std::string& path) const { return facts_.originalContent.contains(path); }

    TrialFacts facts_;
    std::map<std::string, Verdict> verdicts_;           // by name and the hashes of file and journal
    std::map<std::string, Verdict> recoveredVerdicts_;  // by name and the hash of the recovered file
    std::map<std::string, std::vector<std::string>> secondRunResults_;
    int opened_ = 0;
    int secondRuns_ = 0;
};

}  // namespace crash
