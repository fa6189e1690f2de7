#pragma once
// The patch run's host on a terminal: the file list, ticks and progress as
// printed lines, the notices as text.

#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "patch/patch_host.h"

namespace cli {

class ConsoleHost : public patch::PatchHost {
public:
    ConsoleHost(std::string folder, bool keepIdCd, std::ostream& out, bool terminal);

    const std::vector<patch::FileOutcome>& Outcomes() const { return outcomes_; }
    // Catalogues the run cannot take because their names hold a line break.
    const std::vector<std::string>& LineBreakNames() const { return lineBreakNames_; }

    std::string ProgramFolder() const override { return folder_; }
    std::string ListFiles(const std::string& folder, const std::string& mask) override;
    void SetFileList(const std::vector<std::string>& names) override;
    int FileCount() const override { return static_cast<int>(names_.size()); }
    std::string FileName(int index) const override { return names_.at(static_cast<std::size_t>(index)); }
    void TickFile(int index) override;
    void SetProgressMaximum(int maximum) override;
    void SetProgressPosition(int position) override;
    void StepProgress() override;
    bool KeepIdCd() const override { return keepIdCd_; }
    int ShowMessageWindow(std::uint8_t pictureKind, const std::string& title, const std::string& messageText,
                          const std::vector<std::uint8_t>& buttons, const std::vector<std::int32_t>& colors,
                          bool display) override;
    void ShowPlainMessage(const std::string& text) override;
    void WarningBeep() override {}
    void DefaultBeep() override {}
    void ProcessPendingMessages() override;
    void FileStarted(int index) override;
    void FileFinished(int index, patch::FileOutcome outcome) override;
    void FileFailed(int index, const std::exception& error) override;
    void TableStarted(const std::string& storedName) override { nextLabel_ = storedName; }
    void ConversionStarted() override { nextLabel_ = "przenoszenie z formatu Access"; }
    void FileMovedFromAccess(int index, const std::string& keptName) override;

private:
    void ShowProgress(bool force);
    void EndProgressLine();

    std::string folder_;
    bool keepIdCd_;
    std::ostream& out_;
    bool terminal_;
    std::vector<std::string> names_;
    std::vector<patch::FileOutcome> outcomes_;
    std::vector<std::string> lineBreakNames_;
    std::string cause_;     // of the current file's failure
    std::string keptName_;  // of the current file's Access original, when it was moved
    bool inFile_ = false;
    std::string progressLabel_;
    std::string nextLabel_;
    int maximum_ = 0;
    int position_ = 0;
    int shownStep_ = -1;  // plain output: last tenth printed
    bool progressLineOpen_ = false;
    std::chrono::steady_clock::time_point lastDrawn_{};
};

}  // namespace cli
