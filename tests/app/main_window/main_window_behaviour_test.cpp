// What the window does: dragging, closing, Start, keyboard order, mail link.
#include "main_window_fixture.h"

#include "app/application_title.h"
#include "app/check_list.h"
#include "app/header_close_button.h"
#include "app/header_strip.h"
#include "app/xp_button.h"
#include "ui/TovaskTabControl/tovask_page_control.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QTabBar>
#include <QTest>
#include <QUrl>

#include <functional>
#include <stdexcept>

namespace {

// Receives the links the desktop would open.
class LinkCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> links;
public slots:
    void Open(const QUrl& url) { links << url; }
};

void Drag(QWidget* on, Qt::MouseButton button, QPoint from, QPoint by)
{
    QTest::mousePress(on, button, Qt::NoModifier, from);
    QTest::mouseMove(on, from + by);
    QTest::mouseRelease(on, button, Qt::NoModifier, from + by);
}

void WriteFile(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a catalogue");
}

}  // namespace

TEST_F(MainWindowTest, AnyMouseButtonOnTheHeaderMovesTheWindow)
{
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        const QPoint before = window->pos();
        Drag(Part<app::THeaderStrip>(*window, "cntHeader"), button, {100, 8}, {30, 12});
        EXPECT_EQ(window->pos(), before + QPoint(30, 12)) << "button " << button;
    }
    EXPECT_EQ(window->systemMoves, 3) << "the window system's move is tried first";

    // Once the button is up, the window no longer follows the mouse.
    const QPoint after = window->pos();
    QTest::mouseMove(Part<app::THeaderStrip>(*window, "cntHeader"), {10, 3});
    EXPECT_EQ(window->pos(), after);
}

TEST_F(MainWindowTest, HeaderLeavesTheMoveToTheWindowSystemWhereItOffersOne)
{
    window->systemMoveAvailable = true;
    const QPoint before = window->pos();
    Drag(Part<app::THeaderStrip>(*window, "cntHeader"), Qt::LeftButton, {100, 8}, {30, 12});
    EXPECT_EQ(window->systemMoves, 1);
    EXPECT_EQ(window->pos(), before);
}

TEST_F(MainWindowTest, EveryCloseControlClosesTheWindowWithoutOpeningADatabase)
{
    // Each control on a window of its own.
    auto closesWith = [this](auto pick) {
        TestableWindow w(&answerer, folder.path());
        w.show();
        QApplication::processEvents();
        if (auto* page = pick(w).second)
            Part<TovaskTabControl::TTovaskPageControl>(w, "TovaskPageControl1")->setCurrentWidget(page);
        QTest::mouseClick(pick(w).first, Qt::LeftButton);
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(Part<app::TCheckList>(w, "lbBase")->count(), 0) << "no run began";
        EXPECT_EQ(w.systemMoves, 0) << "a press on the header's button is no drag";
    };
    using Pick = std::pair<QWidget*, QWidget*>;
    closesWith([](TestableWindow& w) {
        return Pick{Part<app::TXPButton>(w, "cmdCloseProgram"), Part(w, "TabSheet1")};
    });
    closesWith([](TestableWindow& w) { return Pick{Part<app::TXPButton>(w, "JvXPButton2"), Part(w, "TabSheet2")}; });
    closesWith([](TestableWindow& w) { return Pick{Part<app::THeaderCloseButton>(w, "cmdlClose"), nullptr}; });
    EXPECT_TRUE(answerer.notices.empty());
}

TEST_F(MainWindowTest, StartInAnEmptyFolderShowsTheNoticeAndCloses)
{
    QTest::mouseClick(Part<app::TXPButton>(*window, "cmdStart"), Qt::LeftButton);

    ASSERT_EQ(answerer.notices.size(), 1u);
    EXPECT_TRUE(answerer.notices[0].messageWindow);
    EXPECT_EQ(answerer.notices[0].title, QStringLiteral("Informacja"));
    EXPECT_EQ(answerer.notices[0].text, QStringLiteral("Nie odnaleziono żadnej bazy *.mdb do konwersji."));
    EXPECT_EQ(Part<app::TCheckList>(*window, "lbBase")->count(), 0);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->Running());
}

TEST_F(MainWindowTest, StartListsTheFolderAndClosesEvenWhenNoFileCanBeTreated)
{
    WriteFile(folder.filePath(QStringLiteral("b.mdb")));
    WriteFile(folder.filePath(QStringLiteral("a.mdb")));
    WriteFile(folder.filePath(QStringLiteral("notes.txt")));
    Part<app::TCheckList>(*window, "lbBase")->SetItems({QStringLiteral("left over")});

    Part<app::TXPButton>(*window, "cmdStart")->click();

    ASSERT_EQ(window->FileCount(), 2);
    EXPECT_EQ(window->FileName(0), "a.mdb");
    EXPECT_EQ(window->FileName(1), "b.mdb");
    EXPECT_EQ(Part<app::TCheckList>(*window, "lbBase")->item(0)->checkState(), Qt::Unchecked);
    EXPECT_FALSE(window->isVisible());
}

// Notices that fail as the test says: the message window throws what it is
// given to throw, the plain dialog throws when told to.
class FailingNoticeWindow : public TestableWindow {
public:
    using TestableWindow::TestableWindow;
    std::function<void()> messageWindowFails;
    bool plainNoticeFails = false;

    int ShowMessageWindow(std::uint8_t, const std::string&, const std::string&, const std::vector<std::uint8_t>&,
                          const std::vector<std::int32_t>&, bool) override
    {
        messageWindowFails();
        return 0;
    }
    void ShowPlainMessage(const std::string& text) override
    {
        if (plainNoticeFails) throw std::runtime_error("no plain dialog either");
        TestableWindow::ShowPlainMessage(text);
    }
};

TEST_F(MainWindowTest, WhateverEndsARunIsToldOnceAndTheWindowStillCloses)
{
    struct Case {
        const char* what;
        std::function<void()> messageWindowFails;
        bool plainNoticeFails;
        QString told;  // in the plain dialog, or on standard error when that fails too
    };
    const std::vector<Case> cases{
        // The notice window cannot be built, as when its artwork is missing.
        {"a std::exception", [] { throw std::runtime_error("Missing message window artwork: info"); }, false,
         QStringLiteral("Uaktualnianie baz przerwał nieoczekiwany błąd:\nMissing message window artwork: info")},
        {"something that is no std::exception", [] { throw 42; }, false,
         QStringLiteral("Uaktualnianie baz przerwał nieoczekiwany błąd.")},
        {"a failing notice, then a failing plain dialog",
         [] { throw std::runtime_error("Missing message window artwork: info"); }, true,
         QStringLiteral("Uaktualnianie baz przerwał nieoczekiwany błąd:\nMissing message window artwork: info")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingAnswerer told;
        FailingNoticeWindow w(&told, folder.path());
        w.messageWindowFails = c.messageWindowFails;
        w.plainNoticeFails = c.plainNoticeFails;
        w.show();
        QApplication::processEvents();

        testing::internal::CaptureStderr();
        EXPECT_NO_THROW(Part<app::TXPButton>(w, "cmdStart")->click());
        const QString stderrText = QString::fromStdString(testing::internal::GetCapturedStderr());

        if (c.plainNoticeFails) {
            EXPECT_TRUE(told.notices.empty());
            EXPECT_TRUE(stderrText.contains(c.told)) << stderrText.toStdString();
        } else {
            ASSERT_EQ(told.notices.size(), 1u);
            EXPECT_FALSE(told.notices[0].messageWindow);
            EXPECT_EQ(told.notices[0].text, c.told);
        }
        EXPECT_FALSE(w.isVisible());
        EXPECT_FALSE(w.Running());
    }
}

TEST_F(MainWindowTest, SecondStartAndCloseDuringARunWaitForTheRun)
{
    answerer.whileShown = [this] {
        if (answerer.notices.size() > 1) return;  // a second run got through; do not recurse further
        // The notice's event loop is the run's: the window is live meanwhile.
        EXPECT_TRUE(window->Running());
        Part<app::TXPButton>(*window, "cmdStart")->click();
        Part<app::TXPButton>(*window, "cmdCloseProgram")->click();
        EXPECT_TRUE(window->isVisible()) << "the close waits for the run";
    };
    Part<app::TXPButton>(*window, "cmdStart")->click();

    EXPECT_EQ(answerer.notices.size(), 1u) << "the second Start began no second run";
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, PlainNoticeCarriesTheApplicationsTitleAndOneOk)
{
    RecordingAnswerer plain;
    plain.whileShown = [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->buttons().size(), 1);
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    };
    TfmGlowny w(&plain, folder.path());
    w.ShowPlainMessage("Tabela FILMY wymaga patcha qlt_1.2.1.0-01_v.");
    ASSERT_EQ(plain.notices.size(), 1u);
    EXPECT_FALSE(plain.notices[0].messageWindow);
    EXPECT_EQ(plain.notices[0].title, app::ApplicationTitle());
    EXPECT_EQ(plain.notices[0].text, QStringLiteral("Tabela FILMY wymaga patcha qlt_1.2.1.0-01_v."));
}

TEST(ApplicationTitle, IsTheExecutablesNameUpToItsFirstDotWithTheRestInLowerCase)
{
    EXPECT_EQ(app::ApplicationTitleOf(QStringLiteral("/usr/bin/vidarkon-patch")), QStringLiteral("vidarkon-patch"));
    EXPECT_EQ(app::ApplicationTitleOf(QStringLiteral("C:/Vidarkon/PATCH_QLT.1.2.EXE")), QStringLiteral("Patch_qlt"));
    EXPECT_EQ(app::ApplicationTitleOf(QStringLiteral("/x/.hidden")), QString());
}

TEST_F(MainWindowTest, TabKeyFollowsTheDesignsOrderOnBothPages)
{
    QApplication::setActiveWindow(window.get());
    QWidget* tabs = Part<TovaskTabControl::TTovaskPageControl>(*window, "TovaskPageControl1")->tabBar();
    tabs->setFocus();
    ASSERT_TRUE(tabs->hasFocus());

    auto next = [] {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        return QApplication::focusWidget();
    };
    EXPECT_EQ(next(), Part<app::TXPButton>(*window, "cmdStart"));
    EXPECT_EQ(next(), Part<app::TXPButton>(*window, "cmdCloseProgram"));
    EXPECT_EQ(next(), Part<QCheckBox>(*window, "cbID_CD"));
    EXPECT_EQ(next(), Part<app::TCheckList>(*window, "lbBase"));
    EXPECT_EQ(next(), tabs);

    Part<TovaskTabControl::TTovaskPageControl>(*window, "TovaskPageControl1")->setCurrentIndex(1);
    tabs->setFocus();
    EXPECT_EQ(next(), Part<app::TXPButton>(*window, "JvXPButton2"));
    EXPECT_EQ(next(), tabs);
}

TEST_F(MainWindowTest, AccessKeysPressTheButtons)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    // An access key presses its button with a short animation.
    QTest::keyClick(window.get(), Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !window->isVisible(); }, 2000));
    EXPECT_EQ(answerer.notices.size(), 1u) << "Alt+S is Start";

    TestableWindow other(&answerer, folder.path());
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    Part<TovaskTabControl::TTovaskPageControl>(other, "TovaskPageControl1")->setCurrentIndex(1);
    QTest::keyClick(&other, Qt::Key_Z, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&other] { return !other.isVisible(); }, 2000)) << "Alt+Z is Zakończ on either tab";
    EXPECT_EQ(answerer.notices.size(), 1u);
}

TEST_F(MainWindowTest, AuthorLabelOpensAMailLink)
{
    LinkCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "Open");
    QTest::mouseClick(Part<QLabel>(*window, "Label1"), Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));

    ASSERT_EQ(catcher.links.size(), 1);
    EXPECT_EQ(catcher.links[0].scheme(), QStringLiteral("mailto"));
    EXPECT_TRUE(catcher.links[0].path().startsWith(u' ')) << "one blank after the colon";
    EXPECT_TRUE(catcher.links[0].path().contains(u'@'));
}

#include "main_window_behaviour_test.moc"
