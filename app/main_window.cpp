#include "app/main_window.h"

#include "app/artwork.h"
#include "app/check_list.h"
#include "app/design_fonts.h"
#include "app/files/file_utils.h"
#include "app/files/version_info.h"
#include "app/header_close_button.h"
#include "app/header_strip.h"
#include "app/plain_message.h"
#include "app/window_utils.h"
#include "patch/run_patch.h"
#include "ui/Accessibility/roles.h"
#include "ui/MyMessage/show_message_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QUrl>
#include <QWindow>

#include <algorithm>
#include <iostream>
#include <stdexcept>

namespace {

const QString kTitleStart = QStringLiteral("Patch dla: Vidarkon w wersji: ");
const QString kTitleEnd = QStringLiteral(" - 02");
const QString kAuthorMail = QStringLiteral("wenk@vidarkon.pl");

QString OwnExecutable()
{
    return QCoreApplication::applicationFilePath();
}

QString VersionText()
{
    return QString::fromStdString(utils::GetFileVersionText(OwnExecutable().toStdString()));
}

const char kRunCutShort[] = "Uaktualnianie baz przerwał nieoczekiwany błąd";

// Marks a patch run for as long as it lasts, however it ends.
class RunningScope {
public:
    explicit RunningScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningScope() { flag_ = false; }
    RunningScope(const RunningScope&) = delete;
    RunningScope& operator=(const RunningScope&) = delete;

private:
    bool& flag_;
};

// Closes the window when its scope ends, however it ends.
class CloseWhenDone {
public:
    explicit CloseWhenDone(QWidget& window) : window_(window) {}
    ~CloseWhenDone() { window_.close(); }
    CloseWhenDone(const CloseWhenDone&) = delete;
    CloseWhenDone& operator=(const CloseWhenDone&) = delete;

private:
    QWidget& window_;
};

QString WithTrailingSeparator(QString folder)
{
    if (!folder.endsWith(u'/')) folder += u'/';
    return folder;
}

}  // namespace

TfmGlowny::TfmGlowny(MyMessage::DialogAnswerer* answerer, const QString& programFolder, QWidget* parent)
    : QWidget(parent), answerer_(answerer), programFolder_(programFolder)
{
    setObjectName(QStringLiteral("fmGlowny"));
    // A screen reader announces the window by its title when it opens; as a
    // plain widget it would read as a nameless filler. Marked before anything
    // can ask for its accessible interface.
    Accessibility::ExposeAsWindow(*this);
    setFixedSize(kClientWidth, kClientHeight);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0xD2, 0xE9, 0xFF));
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
    setAutoFillBackground(true);
    setFont(app::WindowFont());
    setWindowIcon(app::ApplicationIcon());

    BuildHeader();
    BuildPageControl();
    BuildPatchPage();
    BuildDescriptionPage();
    SetTabOrder();
    FormCreate();
    NameForAssistiveTechnology();
}

TfmGlowny::~TfmGlowny() = default;

void TfmGlowny::FormCreate()
{
    utils::HideWindowCaption(this, true);
    setWindowTitle(kTitleStart + VersionText() + kTitleEnd);
    if (programFolder_.isEmpty()) programFolder_ = QCoreApplication::applicationDirPath();
    programFolder_ = WithTrailingSeparator(programFolder_);
    ShowProgramFolder();
}

void TfmGlowny::ShowProgramFolder()
{
    // Started from a menu or a file manager, the folder searched is not where
    // the program lies: the empty list names it, and so does its hint.
    const QString shown = QStringLiteral("Folder: ") + QDir::toNativeSeparators(QDir::cleanPath(programFolder_));
    lbBase->SetPlaceholderText(shown);
    lbBase->setToolTip(shown);
    lbBase->setAccessibleDescription(shown);
}

void TfmGlowny::NameForAssistiveTechnology()
{
    // Buttons, the check box, the labels and the tabs are named by their own
    // texts; what is painted by hand or has no text of its own is named here.
    Accessibility::ExposeAsStaticText(*cntHeader, windowTitle());
    cmdlClose->setAccessibleName(cmdlClose->toolTip());
    lbBase->setAccessibleName(QStringLiteral("Bazy do uaktualnienia"));
    Pozycja->setAccessibleName(QStringLiteral("Postęp uaktualniania"));
    Label1->setAccessibleDescription(QStringLiteral("Otwiera nową wiadomość do autora"));
}

QString TfmGlowny::HeaderTitle() const
{
    // Not cached: every paint reads the version resource again.
    return u' ' + kTitleStart + VersionText() + kTitleEnd;
}

void TfmGlowny::cntHeaderPaint(QPainter& canvas, const QRect& area)
{
    canvas.setFont(app::HeaderFont());
    canvas.setPen(palette().color(QPalette::WindowText));
    canvas.setBackgroundMode(Qt::TransparentMode);
    const QString title = canvas.fontMetrics().elidedText(HeaderTitle(), Qt::ElideRight, area.width());
    canvas.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, title);
}

void TfmGlowny::cntHeaderMouseDown(QMouseEvent& event)
{
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
    if (!StartSystemMove()) cntHeader->FollowMouse(event.globalPosition());
}

bool TfmGlowny::StartSystemMove()
{
    QWindow* handle = windowHandle();
    return handle && handle->startSystemMove();
}

void TfmGlowny::cmdStartClick()
{
    // The run lets the window handle input between rows; a second Start must
    // not begin another run over the same files.
    if (running_) return;
    // The window closes after the run however the run ends: it is never left
    // open and idle with the upgrade cut short. Declared first, so that it
    // acts after the run is marked over (a close during a run waits).
    const CloseWhenDone closeWhenDone(*this);
    RunningScope running(running_);
    try {
        lbBase->clear();
        patch::RunPatch(*this);
    } catch (const std::exception& error) {
        // The run reports its own errors; whatever still gets out of it (a
        // notice that cannot be shown, for one) is told here, once.
        TellRunCutShort(std::string(kRunCutShort) + ":\n" + error.what());
    } catch (...) {
        TellRunCutShort(std::string(kRunCutShort) + ".");
    }
}

void TfmGlowny::TellRunCutShort(const std::string& text) noexcept
{
    // The plain dialog needs nothing that could be missing. Where even it
    // fails, standard error is the last place the user can be told.
    try {
        ShowPlainMessage(text);
    } catch (...) {
        try {
            std::cerr << text << '\n';
        } catch (...) {
            // Nowhere is left to tell it; the window still closes.
        }
    }
}

void TfmGlowny::cmdCloseProgramClick()
{
    close();
}

void TfmGlowny::Label1Click()
{
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto: ") + kAuthorMail));
}

void TfmGlowny::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    if (QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TfmGlowny::closeEvent(QCloseEvent* event)
{
    // A close during a run waits for the run; Start closes the window after it.
    if (running_) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

bool TfmGlowny::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label1 && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && Label1->rect().contains(mouse->position().toPoint())) {
            Label1Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// --- patch::PatchHost

std::string TfmGlowny::ProgramFolder() const
{
    return programFolder_.toStdString();
}

std::string TfmGlowny::ListFiles(const std::string& folder, const std::string& mask)
{
    return utils::ListFiles(folder, mask, false);
}

void TfmGlowny::SetFileList(const std::vector<std::string>& names)
{
    QStringList texts;
    for (const std::string& name : names) texts << QString::fromStdString(name);
    lbBase->SetItems(texts);
}

int TfmGlowny::FileCount() const
{
    return lbBase->count();
}

std::string TfmGlowny::FileName(int index) const
{
    const QListWidgetItem* item = lbBase->item(index);
    if (!item) throw std::out_of_range("lbBase: no item " + std::to_string(index));
    return item->text().toStdString();
}

void TfmGlowny::TickFile(int index)
{
    QListWidgetItem* item = lbBase->item(index);
    if (!item) throw std::out_of_range("lbBase: no item " + std::to_string(index));
    item->setCheckState(Qt::Checked);
}

void TfmGlowny::SetProgressMaximum(int maximum)
{
    Pozycja->setMaximum(maximum);
    progressPosition_ = Pozycja->value();
}

void TfmGlowny::SetProgressPosition(int position)
{
    Pozycja->setValue(position);
    progressPosition_ = Pozycja->value();
}

void TfmGlowny::StepProgress()
{
    // Setting the bar costs more than a row (it formats its text and tells
    // assistive technology each time), and it is seen only when pending
    // input is handled: it is set then, and at the last row.
    progressPosition_ = std::min(progressPosition_ + 1, Pozycja->maximum());
    if (progressPosition_ == Pozycja->maximum()) Pozycja->setValue(progressPosition_);
}

bool TfmGlowny::KeepIdCd() const
{
    return cbID_CD->isChecked();
}

int TfmGlowny::ShowMessageWindow(std::uint8_t pictureKind, const std::string& title, const std::string& messageText,
                                 const std::vector<std::uint8_t>& buttons, const std::vector<std::int32_t>& colors,
                                 bool display)
{
    return MyMessage::ShowMessageWindow(pictureKind, QString::fromStdString(title), QString::fromStdString(messageText),
                                        buttons, colors, display, this, answerer_);
}

void TfmGlowny::ShowPlainMessage(const std::string& text)
{
    app::ShowPlainMessage(QString::fromStdString(text), answerer_);
}

void TfmGlowny::WarningBeep()
{
    utils::WarningBeep();
}

void TfmGlowny::DefaultBeep()
{
    QApplication::beep();
}

void TfmGlowny::ProcessPendingMessages()
{
    // Catch up once the last row is in: the bar's end, and input of the last
    // moments, are not to wait for the commit and the compaction.
    const bool lastRow = progressPosition_ >= Pozycja->maximum();
    if (!inputPacer_.Due(lastRow)) return;
    Pozycja->setValue(progressPosition_);
    QCoreApplication::processEvents();
}
