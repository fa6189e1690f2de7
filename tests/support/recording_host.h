#pragma once
// A patch host for tests: records what the run shows and ticks, and can make a
// copy fail at a chosen row.

#include <functional>
#include <string>
#include <vector>

#include "patch/failure_cause.h"
#include "patch/patch_components.h"
#include "patch/patch_host.h"

namespace patch_test {

struct Notice {
    std::string kind;  // "window", "plain", "beep", "warning"
    std::string text;
};

class RecordingHost : public patch::PatchHost {
public:
    explicit RecordingHost(std::string folder, bool keepIdCd = true) : folder_(std::move(folder)), keepIdCd_(keepIdCd)
    {
    }

    // Called after each copied row with the table being filled and the position.
    std::function<void(const std::string& table, int position)> onRowCopied;
    // Called each time the run lets pending input be handled.
    std::function<void()> onPendingMessages;

    std::vector<Notice> notices;
    std::vector<bool> ticks;
    std::vector<patch::FileOutcome> outcomes;
    std::vector<std::string> causes;  // of each file's failure, as the runner tells it
    std::vector<std::string> files;
    std::vector<std::string> keptNames;  // of each file moved from the Access format
    int conversionsStarted = 0;
    int progressMaximum = -1;
    int progressPosition = -1;
    int pendingMessageCalls = 0;

    std::string ProgramFolder() const override { return folder_; }
    std::string ListFiles(const std::string& folder, const std::string& mask) override;
    void SetFileList(const std::vector<std::string>& names) override
    {
        files = names;
        ticks.assign(names.size(), false);
        outcomes.assign(names.size(), patch::FileOutcome::Failed);
        causes.assign(names.size(), {});
        keptNames.assign(names.size(), {});
    }
    int FileCount() const override { return static_cast<int>(files.size()); }
    std::string FileName(int index) const override { return files.at(static_cast<std::size_t>(index)); }
    void TickFile(int index) override { ticks.at(static_cast<std::size_t>(index)) = true; }
    void SetProgressMaximum(int maximum) override { progressMaximum = maximum; }
    void SetProgressPosition(int position) override { progressPosition = position; }
    void StepProgress() override
    {
        ++progressPosition;
        if (onRowCopied) onRowCopied(table_, progressPosition);
    }
    bool KeepIdCd() const override { return keepIdCd_; }
    int ShowMessageWindow(std::uint8_t, const std::string&, const std::string& messageText,
                          const std::vector<std::uint8_t>&, const std::vector<std::int32_t>&, bool) override
    {
        notices.push_back({"window", messageText});
        return 1;
    }
    void ShowPlainMessage(const std::string& text) override { notices.push_back({"plain", text}); }
    void WarningBeep() override { notices.push_back({"warning", {}}); }
    void DefaultBeep() override { notices.push_back({"beep", {}}); }
    void ProcessPendingMessages() override
    {
        ++pendingMessageCalls;
        if (onPendingMessages) onPendingMessages();
    }
    void FileFinished(int index, patch::FileOutcome outcome) override
    {
        outcomes.at(static_cast<std::size_t>(index)) = outcome;
    }
    void TableStarted(const std::string& storedName) override { table_ = storedName; }
    void ConversionStarted() override { ++conversionsStarted; }
    void FileMovedFromAccess(int index, const std::string& keptName) override
    {
        keptNames.at(static_cast<std::size_t>(index)) = keptName;
    }
    void FileFailed(int index, const std::exception& error) override
    {
        causes.at(static_cast<std::size_t>(index)) = patch::FailureCause(error, folder_ + FileName(index));
    }

    // Lent to the run by tests that look inside it: patch::RunPatch(host, host.components).
    patch::PatchComponents components;

private:
    std::string folder_;
    bool keepIdCd_;
    std::string table_;  // being rebuilt
};

}  // namespace patch_test
