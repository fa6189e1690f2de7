#include "app/window_utils.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>

TEST(HideWindowCaption, KeepsClientSizeAndCornerBothWays)
{
    QWidget window;
    window.setFixedSize(394, 276);
    window.move(120, 90);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QRect client = window.geometry();

    utils::HideWindowCaption(&window, true);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.geometry(), client);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.geometry(), client);

    utils::HideWindowCaption(&window, false);
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.geometry(), client);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.geometry(), client);
}

TEST(HideWindowCaption, HiddenWindowStaysHiddenAndChildrenAreLeftAlone)
{
    QWidget window;
    window.resize(394, 276);
    QWidget child(&window);
    utils::HideWindowCaption(&window, true);
    utils::HideWindowCaption(&child, true);
    utils::HideWindowCaption(nullptr, true);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.size(), QSize(394, 276));
    EXPECT_FALSE(child.windowFlags().testFlag(Qt::FramelessWindowHint));
    utils::WarningBeep();  // no sound device offscreen; must simply return
}
