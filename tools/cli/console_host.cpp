#include "tools/cli/console_host.h"

#include "app/utils/file_utils.h"

namespace cli {

const char* OutcomeText(patch::FileOutcome outcome)
{
    using patch::FileOutcome;
    switch (outcome) {
    case FileOutcome::NotCatalogue: return "pominięta: brak tabeli FILMY";
    case FileOutcome::LacksEarlierPatch: return "pominięta: brak wcześniejszego patcha";
    case FileOutcome::AlreadyUpgraded: return "już uaktualniona";
    case FileOutcome::Upgraded: return "uaktualniona";
    case FileOutcome::UpgradedWithoutLoans: return "tabela FILMY uaktualniona, brak tabeli WYPOZYCZ";
    case FileOutcome::UpgradedNotCompacted:
        return "uaktualniona, ale nieskompaktowana (nie udało się zapisać skompaktowanej kopii)";
    case FileOutcome::ConversionError: return "błąd konwersji, baza pozostała bez zmian";
    case FileOutcome::Failed: return "nie udało się otworzyć lub zapisać bazy, pozostała bez zmian";
    }
    return "";
}

ConsoleHost::ConsoleHost(std::string folder, bool keepIdCd, std::ostream& out, bool terminal)
    : folder_(std::move(folder)), keepIdCd_(keepIdCd), out_(out), terminal_(terminal)
{
}

std::string ConsoleHost::ListFiles(const std::string& folder, const std::string& mask)
{
    return utils::ListFiles(folder, mask, false);
}

void ConsoleHost::SetFileList(const std::vector<std::string>& names)
{
    names_ = names;
    outcomes_.assign(names_.size(), patch::FileOutcome::Failed);
    if (!names_.empty()) out_ << "Bazy w folderze " << folder_ << ": " << names_.size() << "\n";
}

void ConsoleHost::TickFile(int /*index*/) {}

void ConsoleHost::SetProgressMaximum(int maximum)
{
    if (!inFile_) return;  // the run's own count of files
    EndProgressLine();
    maximum_ = maximum;
    position_ = 0;
    shownStep_ = -1;
    progressLabel_ = components_.mdbFilmy.TableName();
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
    out_ << "  " << messageText << "\n";
    // As if its first button were pressed: the run only ever offers "&Ok".
    return !buttons.empty() && buttons.front() == 0 ? 1 : 0;
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
    out_ << FileName(index) << "\n";
}

void ConsoleHost::FileFinished(int index, patch::FileOutcome outcome)
{
    EndProgressLine();
    inFile_ = false;
    outcomes_.at(static_cast<std::size_t>(index)) = outcome;
    out_ << "  -> " << OutcomeText(outcome) << "\n";
}

}  // namespace cli
