#include "app/main_window.h"

#include "app/artwork.h"
#include "app/check_list.h"
#include "app/design_fonts.h"
#include "app/files/file_utils.h"
#include "app/files/version_info.h"
#include "app/flat_check_box.h"
#include "app/header_close_button.h"
#include "app/header_strip.h"
#include "app/markup_label.h"
#include "app/plain_message.h"
#include "app/window_utils.h"
#include "app/xp_button.h"
#include "patch/run_patch.h"
#include "ui/Accessibility/roles.h"
#include "ui/MyMessage/show_message_window.h"
#include "ui/TovaskTabControl/tovask_page_control.h"
#include "ui/bevel_line.h"

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
#include <QTabBar>
#include <QUrl>
#include <QWindow>

#include <algorithm>
#include <array>
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

// The window's design: every part in its place, size, colour, font and text.
namespace {

const QColor kWindowColor(0xD2, 0xE9, 0xFF);
const QColor kHeaderColor(0x97, 0xCB, 0xFF);
const QColor kListColor(0xC1, 0xE0, 0xFF);
const QColor kButtonPanelColor(0x9D, 0xCE, 0xFF);
const QColor kNavy(0x00, 0x00, 0x80);
const QColor kMaroon(0x80, 0x00, 0x00);
const QColor kGreen(0x00, 0x80, 0x00);

constexpr int kHeaderHeight = 16;
constexpr int kPageWidth = 386;
constexpr int kButtonPanelTop = 191;
constexpr int kButtonPanelHeight = 41;
constexpr int kLineHeight = 14;

struct DescriptionLine {
    const char* name;
    const char* caption;
};

// "Opis patcha", top to bottom, one line every 14 pixels.
const std::array<DescriptionLine, 13> kDescription{{
    {"JvHTLabel7", "Modyfikacja zawiera:"},
    {"JvHTLabel6", "1. Zmianę w tabeli <B>FILMY</B> pola <I>ID_CD</I> na <I>FILM_ID</I>, zmianę pola"},
    {"JvHTLabel15", "&nbsp;&nbsp;<I>JEST</I> na typ Integer oraz zmianę pola <I>OCENA</I> na typ string."},
    {"JvHTLabel5", "2. Dodanie do tabeli <B>FILMY</B> pól:"},
    {"JvHTLabel4", "&nbsp;&nbsp;- <I>ID_CD</I> - przechowuje nr CD,"},
    {"JvHTLabel3", "&nbsp;&nbsp;- <I>SER_ID</I> - do wykorzystania w przyszłości,"},
    {"JvHTLabel2", "&nbsp;&nbsp;- <I>T_ORG_S</I> - tytuł oryginalny serialu,"},
    {"JvHTLabel11", "&nbsp;&nbsp;- <I>T_PL_S</I> - tytuł lokalny  serialu,"},
    {"JvHTLabel10", "&nbsp;&nbsp;- <I>SERIA</I> - nr serii serialu,"},
    {"JvHTLabel12", "&nbsp;&nbsp;- <I>ODCINEK</I> - nr odcinka."},
    {"JvHTLabel9", "&nbsp;&nbsp;- <I>URL</I> - adres WWW filmu."},
    {"JvHTLabel8", ""},
    {"JvHTLabel1", "3. Dodanie do tabeli <B>WYPOZYCZ</B> pola <I>ID_CD</I>."},
}};

void SetColor(QWidget* widget, QPalette::ColorRole role, const QColor& color)
{
    QPalette p = widget->palette();
    p.setColor(role, color);
    widget->setPalette(p);
}

// The etched line along the top of a button panel, in the design's grey and
// white whatever the system's colours.
ui::TBevelLine* MakeBevel(QWidget* panel)
{
    auto* bevel = new ui::TBevelLine(panel);
    SetColor(bevel, QPalette::Dark, QColor(0x80, 0x80, 0x80));
    SetColor(bevel, QPalette::Light, Qt::white);
    bevel->setGeometry(0, 0, kPageWidth, 9);
    return bevel;
}

}  // namespace

void TfmGlowny::BuildHeader()
{
    cntHeader = new app::THeaderStrip(kHeaderColor, kNavy, this);
    cntHeader->setObjectName(QStringLiteral("cntHeader"));
    cntHeader->setGeometry(0, 0, kClientWidth, kHeaderHeight);
    cntHeader->SetOnPaint([this](QPainter& canvas, const QRect& area) { cntHeaderPaint(canvas, area); });
    cntHeader->SetOnMouseDown([this](QMouseEvent& event) { cntHeaderMouseDown(event); });

    cmdlClose = new app::THeaderCloseButton(cntHeader);
    cmdlClose->setObjectName(QStringLiteral("cmdlClose"));
    cmdlClose->setGeometry(kClientWidth - 15, 0, 15, 15);
    cmdlClose->setToolTip(QStringLiteral("Zakończ program"));
    connect(cmdlClose, &QAbstractButton::clicked, this, &TfmGlowny::cmdCloseProgramClick);
}

void TfmGlowny::BuildPageControl()
{
    TovaskPageControl1 = new TovaskTabControl::TTovaskPageControl(this);
    TovaskPageControl1->setObjectName(QStringLiteral("TovaskPageControl1"));
    TovaskPageControl1->setGeometry(0, kHeaderHeight, kClientWidth, kClientHeight - kHeaderHeight);
    TovaskPageControl1->SetOwnerDraw(true);
    TovaskPageControl1->SetFontColor(kNavy);
    // Applied in the order the design stores them.
    TovaskPageControl1->SetParentColor(true);
    TovaskPageControl1->SetColorTab(kWindowColor);
    TovaskPageControl1->SetColorWindow(kWindowColor);
    TovaskPageControl1->SetEqualColor(false);

    TabSheet1 = new QWidget(TovaskPageControl1);
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TovaskPageControl1->addTab(TabSheet1, QStringLiteral("Patch"));
    TabSheet2 = new QWidget(TovaskPageControl1);
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    TovaskPageControl1->addTab(TabSheet2, QStringLiteral("Opis patcha"));
    TovaskPageControl1->setCurrentIndex(0);
}

QWidget* TfmGlowny::MakePanel(QWidget* parent, const QRect& geometry, const QColor& color)
{
    auto* panel = new QWidget(parent);
    panel->setGeometry(geometry);
    if (color.isValid()) {
        SetColor(panel, QPalette::Window, color);
        panel->setAutoFillBackground(true);
    }
    return panel;
}

app::TXPButton* TfmGlowny::MakeButton(QWidget* parent, const QString& caption, const QPixmap& glyph,
                                      const QRect& geometry)
{
    auto* button = new app::TXPButton(caption, glyph, parent);
    button->setGeometry(geometry);
    return button;
}

void TfmGlowny::BuildPatchPage()
{
    L4 = new QLabel(QStringLiteral("PAMIĘTAJ - ZABEZPIECZ SWOJE DANE"), TabSheet1);
    L4->setObjectName(QStringLiteral("L4"));
    L4->setGeometry(0, 0, kPageWidth, 17);
    L4->setAlignment(Qt::AlignCenter);
    L4->setFont(app::DesignFont(QStringLiteral("Verdana"), 13, QFont::SansSerif, QFont::Bold));
    SetColor(L4, QPalette::WindowText, kMaroon);

    Panel2 = MakePanel(TabSheet1, QRect(0, 17, kPageWidth, 40), QColor());
    Panel2->setObjectName(QStringLiteral("Panel2"));
    JvHTLabel13 = new app::TMarkupLabel(QStringLiteral("Patch wgrywamy do folderu zawierającego bazę(y)"), Panel2);
    JvHTLabel13->setObjectName(QStringLiteral("JvHTLabel13"));
    JvHTLabel13->setGeometry(46, 5, 293, kLineHeight);
    JvHTLabel14 = new app::TMarkupLabel(
        QStringLiteral("przeznaczone do uaktualnienia i naciskamy przycisk <I>START</I>."), Panel2);
    JvHTLabel14->setObjectName(QStringLiteral("JvHTLabel14"));
    JvHTLabel14->setGeometry(21, 21, 344, kLineHeight);

    lbBase = new app::TCheckList(2, 16, TabSheet1);
    lbBase->setObjectName(QStringLiteral("lbBase"));
    lbBase->setGeometry(0, 57, kPageWidth, 89);
    SetColor(lbBase, QPalette::Base, kListColor);

    cbID_CD = new app::TFlatCheckBox(QStringLiteral("Zachowaj zawartość pola ID_CD"), TabSheet1);
    cbID_CD->setObjectName(QStringLiteral("cbID_CD"));
    cbID_CD->setGeometry(88, 152, 209, 17);
    cbID_CD->setChecked(true);

    Label1 = new QLabel(QStringLiteral("wenk"), TabSheet1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(app::DesignFont(QStringLiteral("MS Serif"), 9, QFont::Serif));
    SetColor(Label1, QPalette::WindowText, kGreen);
    Label1->setCursor(Qt::PointingHandCursor);
    // Sized to its text, its right and bottom edges where the design has them
    // (16 x 11 at (365, 159) in the design's font).
    const QSize textSize = Label1->fontMetrics().size(Qt::TextSingleLine, Label1->text());
    Label1->setGeometry(365 + 16 - textSize.width(), 159 + 11 - textSize.height(), textSize.width(), textSize.height());
    Label1->installEventFilter(this);

    Pozycja = new QProgressBar(TabSheet1);
    Pozycja->setObjectName(QStringLiteral("Pozycja"));
    Pozycja->setGeometry(0, 175, kPageWidth, 16);
    Pozycja->setRange(0, 100);
    Pozycja->setValue(0);
    Pozycja->setTextVisible(false);

    Panel1 = MakePanel(TabSheet1, QRect(0, kButtonPanelTop, kPageWidth, kButtonPanelHeight), kButtonPanelColor);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Bevel3 = MakeBevel(Panel1);
    Bevel3->setObjectName(QStringLiteral("Bevel3"));
    cmdStart = MakeButton(Panel1, QStringLiteral("&Start"), app::StartGlyph(), QRect(68, 12, 85, 21));
    cmdStart->setObjectName(QStringLiteral("cmdStart"));
    connect(cmdStart, &QAbstractButton::clicked, this, &TfmGlowny::cmdStartClick);
    cmdCloseProgram = MakeButton(Panel1, QStringLiteral("&Zakończ"), app::CloseGlyph(), QRect(233, 12, 85, 21));
    cmdCloseProgram->setObjectName(QStringLiteral("cmdCloseProgram"));
    connect(cmdCloseProgram, &QAbstractButton::clicked, this, &TfmGlowny::cmdCloseProgramClick);
}

void TfmGlowny::BuildDescriptionPage()
{
    int top = 0;
    for (const DescriptionLine& line : kDescription) {
        auto* label = new app::TMarkupLabel(QString::fromUtf8(line.caption), TabSheet2);
        label->setObjectName(QString::fromLatin1(line.name));
        label->setGeometry(0, top, kPageWidth, kLineHeight);
        top += kLineHeight;
    }

    Panel3 = MakePanel(TabSheet2, QRect(0, kButtonPanelTop, kPageWidth, kButtonPanelHeight), kButtonPanelColor);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Bevel1 = MakeBevel(Panel3);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    JvXPButton2 = MakeButton(Panel3, QStringLiteral("&Zakończ"), app::CloseGlyph(), QRect(151, 12, 85, 21));
    JvXPButton2->setObjectName(QStringLiteral("JvXPButton2"));
    connect(JvXPButton2, &QAbstractButton::clicked, this, &TfmGlowny::cmdCloseProgramClick);
}

void TfmGlowny::SetTabOrder()
{
    QWidget* tabs = TovaskPageControl1->tabBar();
    QWidget::setTabOrder(tabs, cmdStart);
    QWidget::setTabOrder(cmdStart, cmdCloseProgram);
    QWidget::setTabOrder(cmdCloseProgram, cbID_CD);
    QWidget::setTabOrder(cbID_CD, lbBase);
    QWidget::setTabOrder(lbBase, JvXPButton2);
}
