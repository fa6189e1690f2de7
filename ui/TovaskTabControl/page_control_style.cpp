#include "ui/TovaskTabControl/page_control_style.h"

#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

#include <algorithm>

namespace TovaskTabControl {

namespace {

bool IsVertical(QTabBar::Shape shape)
{
    return shape == QTabBar::RoundedWest || shape == QTabBar::RoundedEast || shape == QTabBar::TriangularWest ||
           shape == QTabBar::TriangularEast;
}

bool IsAtFarSide(QTabBar::Shape shape)
{
    return shape == QTabBar::RoundedSouth || shape == QTabBar::TriangularSouth || shape == QTabBar::RoundedEast ||
           shape == QTabBar::TriangularEast;
}

struct Areas {
    QRect tabBar;
    QRect pane;
};

Areas Divide(const QStyleOptionTabWidgetFrame& frame)
{
    const QRect r = frame.rect;
    const QSize bar = frame.tabBarSize;
    Areas a;
    if (IsVertical(frame.shape)) {
        const int thickness = bar.width();
        const int length = std::min(bar.height(), r.height() - 2 * PageControlStyle::kTabIndent);
        const int x = IsAtFarSide(frame.shape) ? r.right() + 1 - thickness : r.left();
        a.tabBar = QRect(x, r.top() + PageControlStyle::kTabIndent, thickness, length);
        a.pane = IsAtFarSide(frame.shape) ? r.adjusted(0, 0, -thickness, 0) : r.adjusted(thickness, 0, 0, 0);
    } else {
        const int thickness = PageControlStyle::kTabHeight;
        const int length = std::min(bar.width(), r.width() - 2 * PageControlStyle::kTabIndent);
        const int y = IsAtFarSide(frame.shape) ? r.bottom() + 1 - thickness : r.top();
        a.tabBar = QRect(r.left() + PageControlStyle::kTabIndent, y, length, thickness);
        a.pane = IsAtFarSide(frame.shape) ? r.adjusted(0, 0, 0, -thickness) : r.adjusted(0, thickness, 0, 0);
    }
    return a;
}

}  // namespace

PageControlStyle::PageControlStyle(QObject* owner)
{
    setParent(owner);
}

QRect PageControlStyle::subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const
{
    const auto* frame = qstyleoption_cast<const QStyleOptionTabWidgetFrame*>(option);
    if (!frame) return QProxyStyle::subElementRect(element, option, widget);
    switch (element) {
    case SE_TabWidgetTabBar: return Divide(*frame).tabBar;
    case SE_TabWidgetTabPane: return Divide(*frame).pane;
    case SE_TabWidgetTabContents:
        return Divide(*frame).pane.adjusted(kPaneMargin, kPaneMargin, -kPaneMargin, -kPaneMargin);
    default: return QProxyStyle::subElementRect(element, option, widget);
    }
}

}  // namespace TovaskTabControl
