// HideWindowCaption under a window manager that frames windows, where the
// frame's corner and the client area's corner differ.
#include "app/window_utils.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

namespace {

bool Framed(const QWidget& window)
{
    return window.frameGeometry() != window.geometry();
}

// Generous: the window manager answers in its own time on a loaded machine.
constexpr int kPatienceMs = 20000;

}  // namespace

TEST(HideWindowCaption, KeepsTheFramesCornerBothWays)
{
    QWidget window;
    window.setFixedSize(394, 276);
    window.move(120, 90);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, kPatienceMs));
    if (!QTest::qWaitFor([&] { return Framed(window); }, kPatienceMs))
        GTEST_SKIP() << "no window manager frames windows on this display";
    const QPoint corner = window.frameGeometry().topLeft();
    ASSERT_NE(window.geometry().topLeft(), corner);

    utils::HideWindowCaption(&window, true);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return window.isVisible() && !Framed(window) && window.geometry().topLeft() == corner; }, kPatienceMs))
        << "client area at " << window.geometry().x() << "," << window.geometry().y();
    EXPECT_EQ(window.size(), QSize(394, 276));

    utils::HideWindowCaption(&window, false);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return window.isVisible() && Framed(window) && window.frameGeometry().topLeft() == corner; },
        kPatienceMs))
        << "frame at " << window.frameGeometry().x() << "," << window.frameGeometry().y();
    EXPECT_EQ(window.size(), QSize(394, 276));
}
