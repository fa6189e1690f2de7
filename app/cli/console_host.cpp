#include "app/cli/console_host.h"

#include "app/cli/report_text.h"
#include "app/files/file_utils.h"
#include "patch/failure_cause.h"

namespace cli {

ConsoleHost::ConsoleHost(std::string folder, bool keepIdCd, std::ostream& out, bool terminal)
    : folder_(std::move(folder)), keepIdCd_(keepIdCd), out_(out), terminal_(terminal)
{
}

std::string ConsoleHost::ListFiles(const std::string& folder, const std::string& mask)
{
    lineBreakNames_ = utils::NamesWithLineBreaks(folder, mask);
    return utils::ListFiles(folder, mask, false);
}

void ConsoleHost::SetFileList(const std::vector<std::string>& names)
{
    names_ = names;
    outcomes_.assign(names_.size(), patch::FileOutcome::Failed);
    const auto total = names_.size() + lineBreakNames_.size();
    if (total > 0)
        out_ << "W folderze " << folder_ << ": " << PolishCount(static_cast<long long>(total), kBases) << "\n";
    // Left alone by the run, reported here by name.
    for (const auto& name : lineBreakNames_) out_ << PrintableName(name) << "\n  -> " << kLineBreakNameText << "\n";
}

void ConsoleHost::TickFile(int /*index*/) {}

void ConsoleHost::SetProgressMaximum(int maximum)
{
    if (!inFile_) return;  // the run's own count of files
    EndProgressLine();
    maximum_ = maximum;
    position_ = 0;
    shownStep_ = -1;
    progressLabel_ = nextLabel_;
}

void ConsoleHost::SetProgressPosition(int position)
{
    position_ = position;
}

void ConsoleHost::StepProgress()
{
    ++position_;
}

void ConsoleHost::ProcessPendingMessages()
{
    ShowProgress(false);
}

void ConsoleHost::ShowProgress(bool force)
{
    if (!inFile_ || maximum_ <= 0) return;
    if (terminal_) {
        const auto now = std::chrono::steady_clock::now();
        if (!force && position_ < maximum_ && now - lastDrawn_ < std::chrono::milliseconds(100)) return;
        lastDrawn_ = now;
        constexpr int width = 30;
        const int filled = static_cast<int>(static_cast<long long>(position_) * width / maximum_);
        out_ << "\r  " << progressLabel_ << " [" << std::string(static_cast<std::size_t>(filled), '#')
             << std::string(static_cast<std::size_t>(width - filled), ' ') << "] " << position_ << "/" << maximum_
             << std::flush;
        progressLineOpen_ = true;
        return;
    }
    // Plain output: a line at every further tenth of the copy.
    const int tenth = static_cast<int>(static_cast<long long>(position_) * 10 / maximum_);
    if (tenth > shownStep_ && tenth > 0) {
        out_ << "  " << progressLabel_ << ": " << position_ << "/" << maximum_ << "\n";
        shownStep_ = tenth;
    }
}

void ConsoleHost::EndProgressLine()
{
    if (progressLineOpen_) {
        ShowProgress(true);
        out_ << "\n";
        progressLineOpen_ = false;
    }
}

int ConsoleHost::ShowMessageWindow(std::uint8_t /*pictureKind*/, const std::string& /*title*/,
                                   const std::string& messageText, const std::vector<std::uint8_t>& buttons,
                                   const std::vector<std::int32_t>& /*colors*/, bool /*display*/)
{
    EndProgressLine();
    // As if its first button were pressed: the run only ever offers "&Ok".
    const int pressed = !buttons.empty() && buttons.front() == 0 ? 1 : 0;
    // Outside a file the run only ever tells that it found no catalogue; the
    // names it cannot list were counted and told already, and nothing else is there.
    if (!inFile_ && names_.empty() && !lineBreakNames_.empty()) return pressed;
    out_ << (inFile_ ? "  " : "") << messageText << "\n";
    return pressed;
}

void ConsoleHost::ShowPlainMessage(const std::string& text)
{
    EndProgressLine();
    out_ << "  " << text << "\n";
}

void ConsoleHost::FileStarted(int index)
{
    inFile_ = true;
    maximum_ = 0;
    cause_.clear();
    keptName_.clear();
    out_ << PrintableName(FileName(index)) << "\n";
}

void ConsoleHost::FileFinished(int index, patch::FileOutcome outcome)
{
    EndProgressLine();
    inFile_ = false;
    outcomes_.at(static_cast<std::size_t>(index)) = outcome;
    out_ << "  -> ";
    if (keptName_.empty())
        out_ << OutcomeText(outcome);
    else
        out_ << MovedOutcomeText(outcome, PrintableName(keptName_));
    if (!cause_.empty()) out_ << ": " << cause_;
    out_ << "\n";
}

void ConsoleHost::FileMovedFromAccess(int /*index*/, const std::string& keptName)
{
    keptName_ = keptName;
}

void ConsoleHost::FileFailed(int index, const std::exception& error)
{
    cause_ = patch::FailureCause(error, folder_ + FileName(index));
}

}  // namespace cli
