// The window's design: every part in its place, size, colour, font and text.
#include "app/main_window.h"

#include "app/artwork.h"
#include "app/bevel_line.h"
#include "app/check_list.h"
#include "app/design_fonts.h"
#include "app/flat_check_box.h"
#include "app/header_close_button.h"
#include "app/header_strip.h"
#include "app/markup_label.h"
#include "app/xp_button.h"
#include "ui/TovaskTabControl/tovask_page_control.h"

#include <QLabel>
#include <QProgressBar>
#include <QTabBar>

#include <array>

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
    Bevel3 = new app::TBevelLine(Panel1);
    Bevel3->setObjectName(QStringLiteral("Bevel3"));
    Bevel3->setGeometry(0, 0, kPageWidth, 9);
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
    Bevel1 = new app::TBevelLine(Panel3);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setGeometry(0, 0, kPageWidth, 9);
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
