// The page control as a widget: what it paints where, and how it follows its
// parent's colour.
#include "ui/TovaskTabControl/tovask_page_control.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTabBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <vector>

using TovaskTabControl::TTovaskPageControl;

namespace {

const QColor kLightBlue(0xD2, 0xE9, 0xFF);
const QColor kNavy(0x00, 0x00, 0x80);

void SetWindowColour(QWidget& widget, const QColor& color)
{
    QPalette p = widget.palette();
    p.setColor(QPalette::Window, color);
    widget.setPalette(p);
}

// Notes where each tab was drawn and whether drawing it changed a colour.
class RecordingControl : public TTovaskPageControl {
public:
    using TTovaskPageControl::TTovaskPageControl;
    std::map<int, QRect> drawnAt;
    int colourChangesWhileDrawing = 0;

    void PaintTab(QPainter& canvas, int TabIndex, const QRect& Rect, bool Active) override
    {
        const auto before = Colors();
        TTovaskPageControl::PaintTab(canvas, TabIndex, Rect, Active);
        const auto after = Colors();
        if (before.background != after.background || before.tab != after.tab || before.control != after.control)
            ++colourChangesWhileDrawing;
        drawnAt[TabIndex] = Rect;
    }
};

// A parent window holding a control of the main window's size, two pages.
struct Fixture {
    QWidget window;
    RecordingControl* control;
    QWidget* first = nullptr;
    QWidget* second = nullptr;

    explicit Fixture(const QColor& windowColour = kLightBlue)
    {
        window.resize(394, 276);
        SetWindowColour(window, windowColour);
        window.setAutoFillBackground(true);
        control = new RecordingControl(&window);
        control->setGeometry(0, 16, 394, 260);
        control->SetOwnerDraw(true);
        control->SetFontColor(kNavy);
        first = new QWidget(control);
        second = new QWidget(control);
        control->addTab(first, QStringLiteral("Patch"));
        control->addTab(second, QStringLiteral("Opis patcha"));
    }

    void Show()
    {
        window.show();
        QApplication::processEvents();
    }

    QImage Picture() const { return control->grab().toImage(); }

    // A point of the tab row right of the last tab.
    QPoint RowBesideTabs() const
    {
        const QRect last = control->tabBar()->tabRect(control->count() - 1);
        return control->tabBar()->mapToParent(QPoint(last.right() + 20, last.center().y()));
    }
    // A point of a tab's fill away from its caption and frame.
    QPoint TabFill(int index) const
    {
        const QRect tab = control->tabBar()->tabRect(index);
        return control->tabBar()->mapToParent(QPoint(tab.left() + 3, tab.bottom() - 2));
    }
    QPoint PageInside() const { return first->mapTo(control, QPoint(100, 100)); }
};

// Centre of the navy caption's pixels within an area, relative to the area's
// centre. The caption is navy on white, blended at its edges; the tab frame's
// greys have no blue cast.
std::optional<QPointF> CaptionOffset(const QImage& image, const QRect& area)
{
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.blue() > c.red() + 32) ink |= QRect(x, y, 1, 1);
        }
    if (ink.isNull()) return std::nullopt;
    return QRectF(ink).center() - QRectF(area).center();
}

bool HasPixelOf(const QImage& image, const QRect& area, const QColor& color)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == color) return true;
    return false;
}

}  // namespace

TEST(TTovaskPageControl, MainWindowSetupIsLightBlueThroughoutWithNavyCaptions)
{
    Fixture f;
    f.control->SetParentColor(true);
    f.control->SetColorTab(kLightBlue);
    f.control->SetColorWindow(kLightBlue);
    f.control->SetEqualColor(false);
    f.Show();

    const QImage picture = f.Picture();
    EXPECT_EQ(picture.pixelColor(f.RowBesideTabs()), kLightBlue);
    EXPECT_EQ(picture.pixelColor(f.TabFill(0)), kLightBlue);
    EXPECT_EQ(picture.pixelColor(f.TabFill(1)), kLightBlue);
    EXPECT_EQ(picture.pixelColor(f.PageInside()), kLightBlue);

    const QRect caption(f.control->tabBar()->mapToParent(f.control->tabBar()->tabRect(1).topLeft()),
                        f.control->tabBar()->tabRect(1).size());
    EXPECT_TRUE(HasPixelOf(picture, caption, kNavy)) << "caption drawn in the font colour";
}

TEST(TTovaskPageControl, OwnColoursFillTabsAndRowWhilePagesKeepTheControlColour)
{
    Fixture f;
    const QColor pageColour = f.control->Colors().control;
    f.control->SetColorTab(Qt::yellow);
    f.control->SetColorWindow(Qt::cyan);
    f.Show();

    const QImage picture = f.Picture();
    EXPECT_EQ(picture.pixelColor(f.TabFill(0)), QColor(Qt::yellow));
    EXPECT_EQ(picture.pixelColor(f.TabFill(1)), QColor(Qt::yellow));
    EXPECT_EQ(picture.pixelColor(f.RowBesideTabs()), QColor(Qt::cyan));
    EXPECT_EQ(picture.pixelColor(f.PageInside()), pageColour);
}

TEST(TTovaskPageControl, FollowsTheParentsColourAndRepaints)
{
    Fixture f;
    f.control->SetParentColor(true);
    f.Show();

    const QColor peach(0xFF, 0xD9, 0xB3);
    SetWindowColour(f.window, peach);
    QApplication::processEvents();

    EXPECT_EQ(f.control->Colors().control, peach);
    EXPECT_EQ(f.control->palette().color(QPalette::Window), peach);
    const QImage picture = f.Picture();
    EXPECT_EQ(picture.pixelColor(f.PageInside()), peach);
    EXPECT_EQ(picture.pixelColor(f.TabFill(0)), peach);
    EXPECT_EQ(picture.pixelColor(f.RowBesideTabs()), peach);
}

TEST(TTovaskPageControl, ReparentedControlTakesItsNewParentsColour)
{
    Fixture f;
    f.control->SetParentColor(true);
    QWidget other;
    SetWindowColour(other, Qt::darkCyan);
    f.control->setParent(&other);
    EXPECT_EQ(f.control->Colors().control, QColor(Qt::darkCyan));

    // The old parent is no longer listened to.
    SetWindowColour(f.window, Qt::magenta);
    EXPECT_EQ(f.control->Colors().control, QColor(Qt::darkCyan));
    f.control->setParent(&f.window);
}

TEST(TTovaskPageControl, DrawTabHandlerReplacesTheFillForEveryTab)
{
    std::vector<std::pair<int, bool>> calls;
    Fixture f;
    f.control->SetOnDrawTab([&](QPainter& canvas, int index, const QRect& rect, bool active) {
        calls.emplace_back(index, active);
        canvas.fillRect(rect, Qt::darkGreen);
    });
    f.control->setCurrentIndex(1);
    f.Show();
    calls.clear();

    const QImage picture = f.Picture();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_TRUE(std::find(calls.begin(), calls.end(), std::make_pair(0, false)) != calls.end());
    EXPECT_TRUE(std::find(calls.begin(), calls.end(), std::make_pair(1, true)) != calls.end());
    EXPECT_EQ(picture.pixelColor(f.TabFill(0)), QColor(Qt::darkGreen));
}

TEST(TTovaskPageControl, PagesKeepTheirSizeWhateverTheFont)
{
    Fixture f;
    f.control->setFont(QFont(QStringLiteral("DejaVu Sans"), 20));
    f.Show();
    auto pageArea = [&] { return QRect(f.first->mapTo(f.control, QPoint(0, 0)), f.first->size()); };
    // The main window's pages: 386 x 232 in a control of 394 x 260.
    const QRect large = pageArea();
    EXPECT_EQ(large.size(), QSize(386, 232));
    EXPECT_TRUE(QRect(QPoint(0, 0), f.control->size()).contains(large));
    EXPECT_GT(large.top(), f.control->tabBar()->geometry().bottom()) << "below the tabs";

    f.control->setFont(QFont(QStringLiteral("DejaVu Sans"), 6));
    QApplication::processEvents();
    EXPECT_EQ(pageArea(), large);
}

TEST(TTovaskPageControl, CaptionsStandCentredAtEveryTabPosition)
{
    // The caption of the unselected tab, where it stands within the tab's fill.
    auto captionOffset = [](QTabWidget::TabPosition position) -> std::optional<QPointF> {
        Fixture f;
        f.control->setTabPosition(position);
        f.control->SetColorTab(Qt::white);
        // A small font leaves room around the caption for it to be misplaced.
        QFont small(QStringLiteral("DejaVu Sans"));
        small.setPixelSize(8);
        f.control->setFont(small);
        f.Show();
        const QImage bar = f.control->tabBar()->grab().toImage();
        if (!f.control->drawnAt.count(1)) return std::nullopt;
        return CaptionOffset(bar, f.control->drawnAt[1]);
    };
    const auto top = captionOffset(QTabWidget::North);
    ASSERT_TRUE(top.has_value());
    EXPECT_LE(std::abs(top->x()), 1.0);
    EXPECT_LE(std::abs(top->y()), 1.5);
    for (auto position : {QTabWidget::South, QTabWidget::West, QTabWidget::East}) {
        const auto offset = captionOffset(position);
        ASSERT_TRUE(offset.has_value()) << "position " << position;
        EXPECT_LE(std::abs(offset->x() - top->x()), 1.0) << "position " << position;
        EXPECT_LE(std::abs(offset->y() - top->y()), 1.0) << "position " << position;
    }
}

TEST(TTovaskPageControl, DrawingATabChangesNoColourAndEqualColorLeavesTheRowToColorWindow)
{
    Fixture f;
    f.control->SetColorTab(Qt::yellow);
    f.control->SetColorWindow(Qt::cyan);
    f.Show();
    f.control->SetEqualColor(true);
    QApplication::processEvents();

    // The pages take the tab colour, while the row is back at ColorWindow,
    // painted once: tab drawing no longer resets the brushes under the control.
    EXPECT_EQ(f.control->colourChangesWhileDrawing, 0);
    const QImage picture = f.Picture();
    EXPECT_EQ(picture.pixelColor(f.PageInside()), QColor(Qt::yellow));
    EXPECT_EQ(picture.pixelColor(f.RowBesideTabs()), QColor(Qt::cyan));
    EXPECT_EQ(picture.pixelColor(f.TabFill(0)), QColor(Qt::yellow));
}
