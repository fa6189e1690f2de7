// The whole upgrade through the real window: Start pressed, notices answered,
// the window closed, the files upgraded.

#include "answerers.h"
#include "app/check_list.h"
#include "app/main_window.h"
#include "app/xp_button.h"
#include "tests/support/catalogue_folder.h"
#include "tests/support/sqlite_file.h"
#include "ui/TovaskTabControl/tovask_page_control.h"
#include "window_parts.h"

#include <QApplication>
#include <QCheckBox>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <utility>

namespace {

using patch_test::CatalogueFolder;
using sample::Level;
using test_support::ExecuteSql;
using test_support::QueryRows;

// Counts the paints of a progress bar and notes the value each one showed.
class PaintCounter : public QObject {
public:
    int paints = 0;
    int lastPaintedValue = -1;
    int largestPaintedMaximum = -1;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            const auto* bar = static_cast<QProgressBar*>(watched);
            lastPaintedValue = bar->value();
            largestPaintedMaximum = std::max(largestPaintedMaximum, bar->maximum());
        }
        return false;
    }
};

std::vector<bool> Ticks(const TfmGlowny& window)
{
    const auto* list = Part<app::TCheckList>(window, "lbBase");
    std::vector<bool> ticks;
    for (int i = 0; i < list->count(); ++i) ticks.push_back(list->item(i)->checkState() == Qt::Checked);
    return ticks;
}

// The window over a folder, shown, its notices answered and recorded, the
// paints of its progress bar counted.
struct ShownWindow {
    explicit ShownWindow(const CatalogueFolder& folder) : window(&answerer, QString::fromStdString(folder.Folder()))
    {
        window.show();
        exposed = QTest::qWaitForWindowExposed(&window);
        bar = Part<QProgressBar>(window, "Pozycja");
        bar->installEventFilter(&counter);
    }
    RecordingAnswerer answerer;
    TfmGlowny window;
    PaintCounter counter;
    QProgressBar* bar = nullptr;
    bool exposed = false;
};

TEST(MainWindowPatch, StartUpgradesTheFolderReportsWhatItMustAndCloses)
{
    CatalogueFolder folder;
    folder.Add("a.mdb", Level::ReadyYesNo, 50, 20);
    folder.Add("b.mdb", Level::NoSubtype, 5, 2, {"Filmy", "WYPOZYCZ"});
    folder.Add("c.mdb", Level::NoFilms, 5, 0);
    folder.Add("d.mdb", Level::Upgraded, 5, 2);
    const auto broken = folder.Add("e.mdb", Level::ReadyLong, 10, 2);
    ExecuteSql(broken, "UPDATE FILMY SET JEST = NULL WHERE rowid = 5");
    const auto brokenBefore = test_support::DumpContent(broken);
    folder.Add("f.mdb", Level::NoLoans, 1000, 0);

    ShownWindow shown(folder);
    ASSERT_TRUE(shown.exposed);
    auto& answerer = shown.answerer;
    auto& window = shown.window;
    auto& counter = shown.counter;
    auto* bar = shown.bar;

    QTest::mouseClick(Part<app::TXPButton>(window, "cmdStart"), Qt::LeftButton);

    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(Ticks(window), (std::vector<bool>{true, false, false, true, false, false}));
    ASSERT_EQ(answerer.notices.size(), 2u);
    EXPECT_FALSE(answerer.notices[0].messageWindow);
    EXPECT_EQ(answerer.notices[0].text, "Tabela Filmy wymaga patcha qlt_1.2.2.6-01_v.");
    EXPECT_TRUE(answerer.notices[1].messageWindow);
    EXPECT_EQ(answerer.notices[1].title, "Informacja");
    EXPECT_EQ(answerer.notices[1].text, "Wystąpił nieznany błąd konwersji dla bazy: e.mdb tabela: FILMY");
    EXPECT_EQ(test_support::DumpContent(broken), brokenBefore);

    // The last copy was the 1000 films of f.mdb, with the bar repainted as it
    // went (at least at the end of each of the three tables copied whole) and
    // its end shown before the window closed.
    EXPECT_EQ(bar->maximum(), 1000);
    EXPECT_EQ(bar->value(), 1000);
    EXPECT_GE(counter.paints, 3);
    EXPECT_EQ(counter.lastPaintedValue, 1000);
    EXPECT_EQ(QueryRows(folder.PathOf("a.mdb"), "SELECT count(*) FROM FILMY WHERE ID_CD = FILM_ID")[0][0], "50");
    EXPECT_EQ(QueryRows(folder.PathOf("a.mdb"), "SELECT count(*) FROM WYPOZYCZ WHERE ID_CD = FILM_ID")[0][0], "20");
}

// Catalogues in the Access format beside those in the catalogue format: moved
// and upgraded, the original kept, the bar moving through the conversion too.
TEST(MainWindowPatch, AccessCataloguesAreMovedUpgradedAndTickedBesideTheOthers)
{
    CatalogueFolder folder;
    folder.Add("a.mdb", Level::ReadyYesNo, 20, 5);
    const auto lacking = folder.AddAccess("b.mdb", Level::NoVideoDvd, 5, 2);
    const auto lackingBefore = test_support::FileBytes(lacking);
    folder.AddAccess("c.mdb", Level::Upgraded, 5, 2);
    const auto moved = folder.AddAccess("d.mdb", Level::ReadyLong, 1500, 100);
    const auto movedBefore = test_support::FileBytes(moved);

    ShownWindow shown(folder);
    ASSERT_TRUE(shown.exposed);
    auto& answerer = shown.answerer;
    auto& window = shown.window;
    auto& counter = shown.counter;

    QTest::mouseClick(Part<app::TXPButton>(window, "cmdStart"), Qt::LeftButton);

    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(Ticks(window), (std::vector<bool>{true, false, true, true}));
    ASSERT_EQ(answerer.notices.size(), 1u);
    EXPECT_EQ(answerer.notices[0].text, "Tabela FILMY wymaga patcha qlt_1.2.3.9-01_v.");
    EXPECT_TRUE(test_support::FileBytes(lacking) == lackingBefore);
    EXPECT_FALSE(std::filesystem::exists(lacking + ".oryginal-access"));
    EXPECT_TRUE(test_support::FileBytes(moved + ".oryginal-access") == movedBefore);
    EXPECT_EQ(test_support::IntegrityCheck(moved), "ok");
    EXPECT_EQ(QueryRows(moved, "SELECT count(*) FROM FILMY")[0][0], "1500");
    // The conversion counts the rows of every table: more than the films alone.
    EXPECT_GT(counter.largestPaintedMaximum, 1500);
}

TEST(MainWindowPatch, UntickedOptionStartsEveryIdCdAtZero)
{
    CatalogueFolder folder;
    const auto path = folder.Add("a.mdb", Level::ReadyYesNo, 20, 10);
    ShownWindow shown(folder);
    ASSERT_TRUE(shown.exposed);
    auto& answerer = shown.answerer;
    auto& window = shown.window;
    auto* option = Part<QCheckBox>(window, "cbID_CD");
    ASSERT_TRUE(option->isChecked());
    QTest::mouseClick(option, Qt::LeftButton);
    ASSERT_FALSE(option->isChecked());

    QTest::mouseClick(Part<app::TXPButton>(window, "cmdStart"), Qt::LeftButton);

    EXPECT_TRUE(answerer.notices.empty());
    EXPECT_EQ(Ticks(window), (std::vector<bool>{true}));
    EXPECT_EQ(QueryRows(path, "SELECT count(*) FROM FILMY WHERE ID_CD = 0")[0][0], "20");
    EXPECT_EQ(QueryRows(path, "SELECT count(*) FROM WYPOZYCZ WHERE ID_CD = 0")[0][0], "10");
}

// Presses Start over folder with a click on the other tab waiting; gives the
// progress bar's value and maximum when the click was handled (-1 when it was
// not handled during the run).
std::pair<int, int> BarWhenWaitingInputIsHandled(const CatalogueFolder& folder)
{
    ShownWindow shown(folder);
    EXPECT_TRUE(shown.exposed);
    auto& window = shown.window;
    auto* bar = shown.bar;
    auto* pages = Part<TovaskTabControl::TTovaskPageControl>(window, "TovaskPageControl1");

    std::pair<int, int> handledAt{-1, -1};
    QTimer::singleShot(0, &window, [&] {
        if (window.Running()) handledAt = {bar->value(), bar->maximum()};
        pages->setCurrentIndex(1);
    });
    QTest::mouseClick(Part<app::TXPButton>(window, "cmdStart"), Qt::LeftButton);
    EXPECT_EQ(pages->currentIndex(), 1);
    EXPECT_EQ(Ticks(window), (std::vector<bool>{true}));
    return handledAt;
}

TEST(MainWindowPatch, InputWaitingAtTheStartOfALongCopyIsHandledDuringIt)
{
    CatalogueFolder folder;
    const auto path = folder.Add("a.mdb", Level::ReadyYesNo, 3000, 0);
    const auto [row, rows] = BarWhenWaitingInputIsHandled(folder);
    EXPECT_GT(row, 0) << "handled while rows were copied";
    EXPECT_LT(row, 3000) << "not left until the copy was over";
    EXPECT_EQ(QueryRows(path, "SELECT count(*) FROM FILMY")[0][0], "3000");
}

// The same while an Access catalogue is converted, before any row is copied:
// the conversion's bar counts every table's rows, the films and the people.
TEST(MainWindowPatch, InputWaitingAtTheStartOfAConversionIsHandledDuringIt)
{
    CatalogueFolder folder;
    const auto path = folder.AddAccess("a.mdb", Level::ReadyYesNo, 3000, 0);
    const auto [row, rows] = BarWhenWaitingInputIsHandled(folder);
    EXPECT_GT(rows, 3000) << "handled while the file was converted";
    EXPECT_EQ(QueryRows(path, "SELECT count(*) FROM FILMY")[0][0], "3000");
}

}  // namespace
