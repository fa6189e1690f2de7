#pragma once
// What the window offers the patch run: the folder, the file list, the progress
// bar, the option, the notices and the pending messages. The database
// components and what the run learns of a file stay with the run. The Qt main
// window implements it; tests and the command-line runner implement it too.

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

namespace patch {

// How the treatment of one file ended.
enum class FileOutcome {
    NotCatalogue,          // no table FILMY: skipped in silence
    LacksEarlierPatch,     // notice shown, file unchanged
    AlreadyUpgraded,       // ticked, unchanged
    Upgraded,              // both tables upgraded, compacted, ticked
    UpgradedWithoutLoans,  // films upgraded, no WYPOZYCZ: not ticked
    UpgradedNotCompacted,  // both tables upgraded, compaction failed: silent, not ticked
    ConversionError,       // reported, file as it was
    Failed,                // any other error: silent, file as it was
};

class PatchHost {
public:
    virtual ~PatchHost() = default;

    // Folder searched for catalogues, ending in a path separator.
    virtual std::string ProgramFolder() const = 0;
    // The folder's entries matching mask: every name followed by CR LF.
    virtual std::string ListFiles(const std::string& folder, const std::string& mask) = 0;

    // The list of files (lbBase): replaced as a whole, items ticked one by one.
    virtual void SetFileList(const std::vector<std::string>& names) = 0;
    virtual int FileCount() const = 0;
    virtual std::string FileName(int index) const = 0;
    virtual void TickFile(int index) = 0;

    // The progress bar (Pozycja).
    virtual void SetProgressMaximum(int maximum) = 0;
    virtual void SetProgressPosition(int position) = 0;
    virtual void StepProgress() = 0;

    // The option cbID_CD: keep the contents of ID_CD.
    virtual bool KeepIdCd() const = 0;

    // The program's own message window; returns the result of the button pressed.
    virtual int ShowMessageWindow(std::uint8_t pictureKind, const std::string& title, const std::string& messageText,
                                  const std::vector<std::uint8_t>& buttons, const std::vector<std::int32_t>& colors,
                                  bool display) = 0;
    // The plain modal dialog with one OK button and the application's title.
    virtual void ShowPlainMessage(const std::string& text) = 0;
    virtual void WarningBeep() = 0;  // exclamation sound
    virtual void DefaultBeep() = 0;  // the simple message beep

    // Lets the window repaint and handle input; called after every copied row.
    virtual void ProcessPendingMessages() = 0;

    // The run reports the start and the end of each file's treatment, and the
    // stored name of each table it rebuilds, before that table's progress starts.
    virtual void FileStarted(int /*index*/) {}
    virtual void FileFinished(int /*index*/, FileOutcome /*outcome*/) {}
    virtual void TableStarted(const std::string& /*storedName*/) {}
    // A catalogue in the Access format is being carried into the catalogue
    // format; its progress follows, counted in rows of all its tables.
    virtual void ConversionStarted() {}
    // The file was moved from the Access format and its original kept under
    // keptName, before FileFinished.
    virtual void FileMovedFromAccess(int /*index*/, const std::string& /*keptName*/) {}
    // The error that made the file end as ConversionError, UpgradedNotCompacted or
    // Failed, before FileFinished. The window keeps to its fixed messages and
    // ignores it; the command-line runner tells its cause.
    virtual void FileFailed(int /*index*/, const std::exception& /*error*/) {}
};

}  // namespace patch
