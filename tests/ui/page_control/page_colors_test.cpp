// The colour rules of the page control: B (tab row and frame), T (tabs) and C
// (the control and its pages).
#include "ui/TovaskTabControl/page_colors.h"

#include <gtest/gtest.h>

using TovaskTabControl::PageColorModel;

namespace {

const QColor kDefault(0xF0, 0xF0, 0xF0);
const QColor kParent(0xD2, 0xE9, 0xFF);
const QColor kTab(Qt::red);
const QColor kWindow(Qt::green);

PageColorModel FreshModel()
{
    return PageColorModel(kDefault, Qt::white);
}

}  // namespace

TEST(PageColorModel, UntouchedControlFillsItsTabsBlack)
{
    PageColorModel model = FreshModel();
    EXPECT_FALSE(model.ParentColor());
    EXPECT_FALSE(model.EqualColor());
    model.PrepareTabBrushes(kParent);
    EXPECT_EQ(model.Colors().tab, QColor(Qt::black));
    EXPECT_EQ(model.Colors().background, QColor(Qt::black));
    EXPECT_EQ(model.Colors().control, kDefault);
}

TEST(PageColorModel, OwnColoursGoToTabsAndRowWhileParentColorIsOff)
{
    PageColorModel model = FreshModel();
    model.WriteColorTab(kTab);
    model.WriteColorWindow(kWindow);
    EXPECT_EQ(model.Colors().tab, kTab);
    EXPECT_EQ(model.Colors().background, kWindow);
    EXPECT_EQ(model.Colors().control, kDefault) << "the pages keep C";
}

TEST(PageColorModel, ParentColorTakesTheParentsColourForEverything)
{
    PageColorModel model = FreshModel();
    EXPECT_TRUE(model.WriteParentColor(true, kParent)) << "notification follows when there is a parent";
    EXPECT_EQ(model.Colors().tab, kParent);
    EXPECT_EQ(model.Colors().background, kParent);
    EXPECT_EQ(model.Colors().control, kParent);

    // While it is on, the own colours are only stored...
    model.WriteColorTab(kTab);
    model.WriteColorWindow(kWindow);
    EXPECT_EQ(model.Colors().tab, kParent);
    EXPECT_EQ(model.Colors().background, kParent);
    model.PrepareTabBrushes(kParent);
    EXPECT_EQ(model.Colors().tab, kParent);

    // ...and take effect when it is written off.
    EXPECT_TRUE(model.WriteParentColor(false, kParent));
    EXPECT_EQ(model.Colors().tab, kTab);
    EXPECT_EQ(model.Colors().background, kWindow);
    EXPECT_EQ(model.Colors().control, kParent) << "C is left as it was";
}

TEST(PageColorModel, ParentColorWithoutParentTakesNothingYet)
{
    PageColorModel model = FreshModel();
    EXPECT_FALSE(model.WriteParentColor(true, std::nullopt));
    EXPECT_TRUE(model.ParentColor());
    EXPECT_EQ(model.Colors().control, kDefault);
    EXPECT_FALSE(model.ParentColorChanged(std::nullopt));
    // Given a parent later, the control follows it.
    EXPECT_TRUE(model.ParentColorChanged(kParent));
    EXPECT_EQ(model.Colors().control, kParent);
}

TEST(PageColorModel, ParentColourChangeIsFollowedOnlyWithParentColor)
{
    PageColorModel model = FreshModel();
    EXPECT_FALSE(model.ParentColorChanged(kParent));
    EXPECT_EQ(model.Colors().control, kDefault);

    model.WriteParentColor(true, kParent);
    const QColor darker(0x20, 0x40, 0x60);
    EXPECT_TRUE(model.ParentColorChanged(darker));
    EXPECT_EQ(model.Colors().control, darker);
    EXPECT_EQ(model.Colors().background, darker) << "a new C carries B with it";
}

TEST(PageColorModel, EqualColorGivesThePagesTheTabColourUntilTheNextTab)
{
    PageColorModel model = FreshModel();
    model.WriteColorTab(kTab);
    model.WriteColorWindow(kWindow);
    model.WriteEqualColor(true);
    EXPECT_EQ(model.Colors().background, kTab);
    EXPECT_EQ(model.Colors().control, kTab);

    model.PrepareTabBrushes(std::nullopt);
    EXPECT_EQ(model.Colors().background, kWindow) << "the row returns to ColorWindow";
    EXPECT_EQ(model.Colors().control, kTab) << "the change to C stays";
}

TEST(PageColorModel, EqualColorOffSetsTheControlToTheCurrentRowColour)
{
    PageColorModel model = FreshModel();
    model.WriteColorTab(kTab);
    model.WriteColorWindow(kWindow);
    model.WriteEqualColor(true);
    model.PrepareTabBrushes(std::nullopt);  // B back to the window colour
    model.WriteEqualColor(false);
    EXPECT_FALSE(model.EqualColor());
    EXPECT_EQ(model.Colors().control, kWindow);
}

TEST(PageColorModel, EqualColorStaysInForceWhenParentColorIsWritten)
{
    PageColorModel model = FreshModel();
    model.WriteColorTab(kTab);
    model.WriteColorWindow(kWindow);
    model.WriteEqualColor(true);
    model.WriteParentColor(false, kParent);
    EXPECT_EQ(model.Colors().background, kTab);
}
