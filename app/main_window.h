#pragma once
// TfmGlowny: the program's one window. It tells what the upgrade does, offers
// its one option, lists the catalogue files while the patch run works on them,
// and lends itself to the run as its host.

#include "app/input_pacer.h"
#include "patch/patch_host.h"

#include <QString>
#include <QWidget>

class QCheckBox;
class QLabel;
class QProgressBar;

namespace MyMessage {
class DialogAnswerer;
}
namespace TovaskTabControl {
class TTovaskPageControl;
}
namespace ui {
class TBevelLine;
}
namespace app {
class TCheckList;
class THeaderCloseButton;
class THeaderStrip;
class TMarkupLabel;
class TXPButton;
}  // namespace app

class TfmGlowny : public QWidget, public patch::PatchHost {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 394;
    static constexpr int kClientHeight = 276;

    // answerer answers every notice the window shows (tests); programFolder
    // replaces the executable's folder as the folder searched.
    explicit TfmGlowny(MyMessage::DialogAnswerer* answerer = nullptr, const QString& programFolder = QString(),
                       QWidget* parent = nullptr);
    ~TfmGlowny() override;

    // The title drawn in the header, with the version read anew.
    QString HeaderTitle() const;
    // True from Start until the patch run has returned.
    bool Running() const { return running_; }

    // patch::PatchHost
    std::string ProgramFolder() const override;
    std::string ListFiles(const std::string& folder, const std::string& mask) override;
    void SetFileList(const std::vector<std::string>& names) override;
    int FileCount() const override;
    std::string FileName(int index) const override;
    void TickFile(int index) override;
    void SetProgressMaximum(int maximum) override;
    void SetProgressPosition(int position) override;
    void StepProgress() override;
    bool KeepIdCd() const override;
    int ShowMessageWindow(std::uint8_t pictureKind, const std::string& title, const std::string& messageText,
                          const std::vector<std::uint8_t>& buttons, const std::vector<std::int32_t>& colors,
                          bool display) override;
    void ShowPlainMessage(const std::string& text) override;
    void WarningBeep() override;
    void DefaultBeep() override;
    void ProcessPendingMessages() override;

public slots:
    void cmdStartClick();
    void cmdCloseProgramClick();
    void Label1Click();

protected:
    // Hands the window to the window system's own move; false where it offers none.
    virtual bool StartSystemMove();

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The window's parts, by their design names; tests find them by these
    // object names.
    app::THeaderStrip* cntHeader = nullptr;
    app::THeaderCloseButton* cmdlClose = nullptr;
    TovaskTabControl::TTovaskPageControl* TovaskPageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QLabel* L4 = nullptr;
    QWidget* Panel2 = nullptr;
    app::TMarkupLabel* JvHTLabel13 = nullptr;
    app::TMarkupLabel* JvHTLabel14 = nullptr;
    app::TCheckList* lbBase = nullptr;
    QCheckBox* cbID_CD = nullptr;
    QLabel* Label1 = nullptr;
    QProgressBar* Pozycja = nullptr;
    QWidget* Panel1 = nullptr;
    ui::TBevelLine* Bevel3 = nullptr;
    app::TXPButton* cmdStart = nullptr;
    app::TXPButton* cmdCloseProgram = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* Panel3 = nullptr;
    ui::TBevelLine* Bevel1 = nullptr;
    app::TXPButton* JvXPButton2 = nullptr;

    void FormCreate();
    void cntHeaderPaint(QPainter& canvas, const QRect& area);
    void cntHeaderMouseDown(QMouseEvent& event);

    void BuildHeader();
    void BuildPageControl();
    void BuildPatchPage();
    void BuildDescriptionPage();
    void SetTabOrder();
    void NameForAssistiveTechnology();
    void ShowProgramFolder();
    // Tells the user, once, that something unforeseen ended the run.
    void TellRunCutShort(const std::string& text) noexcept;
    QWidget* MakePanel(QWidget* parent, const QRect& geometry, const QColor& color);
    app::TXPButton* MakeButton(QWidget* parent, const QString& caption, const QPixmap& glyph, const QRect& geometry);

    MyMessage::DialogAnswerer* answerer_;
    QString programFolder_;
    bool running_ = false;
    bool shownOnce_ = false;
    // Pending input is handled about 60 times a second while rows are copied:
    // what the user sees is the same as after every row, at a fraction of the cost.
    app::InputPacer inputPacer_{std::chrono::milliseconds(16)};
    // The run's position; the bar shows it whenever pending input is handled.
    int progressPosition_ = 0;
};
