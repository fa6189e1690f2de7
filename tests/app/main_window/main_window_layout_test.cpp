// The window as the design fixes it: size, places, colours, fonts and texts.
#include "main_window_fixture.h"

#include "app/check_list.h"
#include "app/header_close_button.h"
#include "app/header_strip.h"
#include "app/markup_label.h"
#include "app/xp_button.h"
#include "ui/TovaskTabControl/tovask_page_control.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>

namespace {

// The design's colours, as red, green and blue.
const QColor kWindowColor(210, 233, 255);
const QColor kHeaderColor(151, 203, 255);
const QColor kListColor(193, 224, 255);
const QColor kPanelColor(157, 206, 255);
const QColor kNavy(0, 0, 128);
const QColor kMaroon(128, 0, 0);
const QColor kGreen(0, 128, 0);

QRect InWindow(const QWidget* widget, const QWidget* window)
{
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

QColor PixelOf(QWidget* window, QPoint at)
{
    return window->grab().toImage().pixelColor(at);
}

}  // namespace

TEST_F(MainWindowTest, WindowIsFixedFramelessAndTitledWithTheVersion)
{
    EXPECT_EQ(window->size(), QSize(394, 276));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(window->windowTitle(), kWindowTitle);
    EXPECT_EQ(window->HeaderTitle(), u' ' + kWindowTitle);
}

TEST_F(MainWindowTest, WindowIsCentredOnTheScreen)
{
    const QPoint centre = window->screen()->availableGeometry().center();
    EXPECT_LE((window->frameGeometry().center() - centre).manhattanLength(), 2);
}

// Each part within the parent the design places it in, at the design's
// positions and sizes; parts docked to an edge take the parent's full width.
TEST_F(MainWindowTest, PartsSitWhereTheDesignPutsThem)
{
    const auto at = [this](const char* part, const char* parent) {
        return InWindow(Part(*window, part), Part(*window, parent));
    };
    EXPECT_EQ(InWindow(Part<app::THeaderStrip>(*window, "cntHeader"), window.get()), QRect(0, 0, 394, 16));
    EXPECT_EQ(at("cmdlClose", "cntHeader"), QRect(394 - 15, 0, 15, 15));
    EXPECT_EQ(InWindow(Part<TovaskTabControl::TTovaskPageControl>(*window, "TovaskPageControl1"), window.get()),
              QRect(0, 16, 394, 260));
    EXPECT_EQ(Part(*window, "TabSheet1")->size(), QSize(386, 232));

    EXPECT_EQ(at("L4", "TabSheet1"), QRect(0, 0, 386, 17));
    EXPECT_EQ(at("Panel2", "TabSheet1"), QRect(0, 17, 386, 40));
    EXPECT_EQ(at("JvHTLabel13", "Panel2").topLeft(), QPoint(46, 5));
    EXPECT_EQ(at("JvHTLabel13", "Panel2").width(), 293);
    EXPECT_EQ(at("JvHTLabel14", "Panel2").topLeft(), QPoint(21, 21));
    EXPECT_EQ(at("JvHTLabel14", "Panel2").width(), 344);
    EXPECT_EQ(at("lbBase", "TabSheet1"), QRect(0, 57, 386, 89));
    EXPECT_EQ(at("cbID_CD", "TabSheet1"), QRect(88, 152, 209, 17));
    EXPECT_EQ(at("Pozycja", "TabSheet1"), QRect(0, 175, 386, 16));
    EXPECT_EQ(at("Panel1", "TabSheet1"), QRect(0, 191, 386, 41));
    EXPECT_EQ(at("Bevel3", "Panel1"), QRect(0, 0, 386, 9));
    EXPECT_EQ(at("cmdStart", "Panel1"), QRect(68, 12, 85, 21));
    EXPECT_EQ(at("cmdCloseProgram", "Panel1"), QRect(233, 12, 85, 21));
    // At (365, 159) for its 16 x 11 pixels of text, sized to its text with its
    // right and bottom edges kept where they are.
    const QRect author = at("Label1", "TabSheet1");
    EXPECT_EQ(author.right() + 1, 365 + 16);
    EXPECT_EQ(author.bottom() + 1, 159 + 11);

    const auto lines = DescriptionLines(*window);
    ASSERT_EQ(lines.size(), 13);
    for (int i = 0; i < lines.size(); ++i)
        EXPECT_EQ(InWindow(lines[i], Part(*window, "TabSheet2")), QRect(0, 14 * i, 386, 14));
    EXPECT_EQ(at("Panel3", "TabSheet2"), QRect(0, 191, 386, 41));
    EXPECT_EQ(at("Bevel1", "Panel3"), QRect(0, 0, 386, 9));
    EXPECT_EQ(at("JvXPButton2", "Panel3"), QRect(151, 12, 85, 21));
}

TEST_F(MainWindowTest, TextsAreThePolishOnesOfTheDesign)
{
    EXPECT_EQ(Part<TovaskTabControl::TTovaskPageControl>(*window, "TovaskPageControl1")->tabText(0),
              QStringLiteral("Patch"));
    EXPECT_EQ(Part<TovaskTabControl::TTovaskPageControl>(*window, "TovaskPageControl1")->tabText(1),
              QStringLiteral("Opis patcha"));
    EXPECT_EQ(Part<QLabel>(*window, "L4")->text(), QStringLiteral("PAMIĘTAJ - ZABEZPIECZ SWOJE DANE"));
    EXPECT_EQ(Part<app::TMarkupLabel>(*window, "JvHTLabel14")->PlainText(),
              QStringLiteral("przeznaczone do uaktualnienia i naciskamy przycisk START."));
    EXPECT_EQ(Part<QCheckBox>(*window, "cbID_CD")->text(), QStringLiteral("Zachowaj zawartość pola ID_CD"));
    EXPECT_EQ(Part<QLabel>(*window, "Label1")->text(), QStringLiteral("wenk"));
    EXPECT_EQ(Part<app::TXPButton>(*window, "cmdStart")->text(), QStringLiteral("&Start"));
    EXPECT_EQ(Part<app::TXPButton>(*window, "cmdCloseProgram")->text(), QStringLiteral("&Zakończ"));
    EXPECT_EQ(Part<app::TXPButton>(*window, "JvXPButton2")->text(), QStringLiteral("&Zakończ"));
    EXPECT_EQ(Part<app::THeaderCloseButton>(*window, "cmdlClose")->toolTip(), QStringLiteral("Zakończ program"));

    const QString nbsp2(2, QChar(0x00A0));
    const QStringList description{
        QStringLiteral("Modyfikacja zawiera:"),
        QStringLiteral("1. Zmianę w tabeli FILMY pola ID_CD na FILM_ID, zmianę pola"),
        nbsp2 + QStringLiteral("JEST na typ Integer oraz zmianę pola OCENA na typ string."),
        QStringLiteral("2. Dodanie do tabeli FILMY pól:"),
        nbsp2 + QStringLiteral("- ID_CD - przechowuje nr CD,"),
        nbsp2 + QStringLiteral("- SER_ID - do wykorzystania w przyszłości,"),
        nbsp2 + QStringLiteral("- T_ORG_S - tytuł oryginalny serialu,"),
        nbsp2 + QStringLiteral("- T_PL_S - tytuł lokalny  serialu,"),
        nbsp2 + QStringLiteral("- SERIA - nr serii serialu,"),
        nbsp2 + QStringLiteral("- ODCINEK - nr odcinka."),
        nbsp2 + QStringLiteral("- URL - adres WWW filmu."),
        QString(),
        QStringLiteral("3. Dodanie do tabeli WYPOZYCZ pola ID_CD."),
    };
    const auto lines = DescriptionLines(*window);
    ASSERT_EQ(lines.size(), description.size());
    for (qsizetype i = 0; i < description.size(); ++i) EXPECT_EQ(lines[i]->PlainText(), description[i]) << "line " << i;
}

TEST_F(MainWindowTest, ColoursAndFontsAreTheDesigns)
{
    EXPECT_EQ(PixelOf(window.get(), {10, 5}), kHeaderColor);
    EXPECT_EQ(PixelOf(window.get(), {10, 15}), kNavy) << "line along the header's bottom";
    EXPECT_EQ(PixelOf(window.get(), {390, 50}), kWindowColor) << "tab row beside the tabs";
    EXPECT_EQ(Part<app::TCheckList>(*window, "lbBase")->palette().color(QPalette::Base), kListColor);
    EXPECT_EQ(PixelOf(Part(*window, "Panel1"), {5, 20}), kPanelColor);
    EXPECT_EQ(PixelOf(Part(*window, "Panel3"), {5, 20}), kPanelColor);
    EXPECT_EQ(PixelOf(Part(*window, "TabSheet1"), {5, 150}), kWindowColor);
    EXPECT_EQ(Part<QLabel>(*window, "L4")->palette().color(QPalette::WindowText), kMaroon);
    EXPECT_EQ(Part<QLabel>(*window, "Label1")->palette().color(QPalette::WindowText), kGreen);
    EXPECT_EQ(Part<QLabel>(*window, "Label1")->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(Part<TovaskTabControl::TTovaskPageControl>(*window, "TovaskPageControl1")->FontColor(), kNavy);
    EXPECT_TRUE(Part<TovaskTabControl::TTovaskPageControl>(*window, "TovaskPageControl1")->ParentColor());
    EXPECT_TRUE(Part<TovaskTabControl::TTovaskPageControl>(*window, "TovaskPageControl1")->OwnerDraw());
    EXPECT_EQ(Part<TovaskTabControl::TTovaskPageControl>(*window, "TovaskPageControl1")->ColorTab(), kWindowColor);
    EXPECT_EQ(Part<TovaskTabControl::TTovaskPageControl>(*window, "TovaskPageControl1")->ColorWindow(), kWindowColor);
    EXPECT_FALSE(Part<TovaskTabControl::TTovaskPageControl>(*window, "TovaskPageControl1")->EqualColor());

    EXPECT_EQ(window->font().family(), QStringLiteral("Verdana"));
    EXPECT_EQ(window->font().pixelSize(), 11);
    EXPECT_EQ(Part(*window, "TabSheet2")->font().pixelSize(), 11);
    EXPECT_EQ(Part<QLabel>(*window, "L4")->font().pixelSize(), 13);
    EXPECT_TRUE(Part<QLabel>(*window, "L4")->font().bold());
}

TEST_F(MainWindowTest, StartsIdle)
{
    EXPECT_EQ(Part<TovaskTabControl::TTovaskPageControl>(*window, "TovaskPageControl1")->currentIndex(), 0);
    EXPECT_TRUE(Part<QCheckBox>(*window, "cbID_CD")->isChecked());
    EXPECT_TRUE(window->KeepIdCd());
    EXPECT_EQ(Part<app::TCheckList>(*window, "lbBase")->count(), 0);
    EXPECT_EQ(Part<QProgressBar>(*window, "Pozycja")->minimum(), 0);
    EXPECT_EQ(Part<QProgressBar>(*window, "Pozycja")->maximum(), 100);
    EXPECT_EQ(Part<app::TXPButton>(*window, "cmdStart")->Glyph().size(), QSize(18, 18));
    EXPECT_EQ(Part<app::TXPButton>(*window, "cmdCloseProgram")->Glyph().size(), QSize(16, 16));
}

TEST_F(MainWindowTest, ProgramFolderEndsInASeparator)
{
    EXPECT_EQ(window->ProgramFolder(), folder.path().toStdString() + "/");
    TfmGlowny own;
    EXPECT_EQ(own.ProgramFolder(), (QCoreApplication::applicationDirPath() + u'/').toStdString());
}

TEST_F(MainWindowTest, FileListShowsTwoEqualColumnsOfSixteenPixelItems)
{
    std::vector<std::string> names;
    for (int i = 0; i < 12; ++i) names.push_back("baza" + std::to_string(i) + ".mdb");
    window->SetFileList(names);
    QApplication::processEvents();

    ASSERT_EQ(window->FileCount(), 12);
    const auto* list = Part<app::TCheckList>(*window, "lbBase");
    const QRect first = list->visualItemRect(list->item(0));
    const QRect second = list->visualItemRect(list->item(1));
    EXPECT_EQ(first.height(), 16);
    EXPECT_EQ(second.top(), first.bottom() + 1) << "first column filled top to bottom";
    EXPECT_EQ(first.width(), list->viewport()->width() / 2);
    const QScrollBar* sideways = list->horizontalScrollBar();
    EXPECT_TRUE(QTest::qWaitFor([sideways] { return sideways->isVisible(); }, 1000)) << "overflow scrolls sideways";

    EXPECT_EQ(list->item(3)->checkState(), Qt::Unchecked);
    window->TickFile(3);
    EXPECT_EQ(list->item(3)->checkState(), Qt::Checked);
    EXPECT_EQ(window->FileName(11), "baza11.mdb");
    EXPECT_THROW(window->FileName(12), std::out_of_range);
    EXPECT_THROW(window->TickFile(-1), std::out_of_range);
}
