#include "ui/TovaskTabControl/tovask_tab_bar.h"

#include "ui/TovaskTabControl/page_control_style.h"
#include "ui/TovaskTabControl/tovask_page_control.h"

#include <QPainter>
#include <QStyleOption>

namespace TovaskTabControl {

namespace {

constexpr int kCaptionPadding = 8;  // each side of the caption
constexpr int kLift = 2;            // how much higher the selected tab stands

const QColor kLight(Qt::white);
const QColor kShadow(0x80, 0x80, 0x80);
const QColor kDarkShadow(0x40, 0x40, 0x40);

bool FacesDown(QTabBar::Shape shape)
{
    return shape == QTabBar::RoundedSouth || shape == QTabBar::TriangularSouth;
}

}  // namespace

TTovaskTabBar::TTovaskTabBar(TTovaskPageControl& control) : QTabBar(&control), control_(control)
{
    setDrawBase(false);
    setExpanding(false);
    setElideMode(Qt::ElideNone);
}

QSize TTovaskTabBar::tabSizeHint(int index) const
{
    if (!control_.OwnerDraw()) return QTabBar::tabSizeHint(index);
    const QFontMetrics metrics(control_.font());
    const int width = metrics.size(Qt::TextShowMnemonic | Qt::TextSingleLine, tabText(index)).width();
    return {width + 2 * kCaptionPadding, PageControlStyle::kTabHeight};
}

QSize TTovaskTabBar::minimumTabSizeHint(int index) const
{
    return control_.OwnerDraw() ? tabSizeHint(index) : QTabBar::minimumTabSizeHint(index);
}

QRect TTovaskTabBar::TabFace(int index) const
{
    QRect face = tabRect(index);
    if (index == currentIndex()) return face;
    return FacesDown(shape()) ? face.adjusted(0, 0, 0, -kLift) : face.adjusted(0, kLift, 0, 0);
}

void TTovaskTabBar::DrawTabFrame(QPainter& painter, const QRect& face, bool selected) const
{
    const bool down = FacesDown(shape());
    painter.setPen(kLight);
    painter.drawLine(face.topLeft(), face.bottomLeft());
    if (!down) painter.drawLine(face.topLeft(), face.topRight() - QPoint(2, 0));
    painter.setPen(kShadow);
    painter.drawLine(face.topRight() - QPoint(1, 0), face.bottomRight() - QPoint(1, 0));
    painter.setPen(kDarkShadow);
    painter.drawLine(face.topRight(), face.bottomRight());
    if (down) {
        painter.drawLine(face.bottomLeft(), face.bottomRight());
        painter.setPen(kShadow);
        painter.drawLine(face.bottomLeft() + QPoint(1, -1), face.bottomRight() - QPoint(1, 1));
    }
    if (selected && hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = face.adjusted(3, 3, -4, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void TTovaskTabBar::paintEvent(QPaintEvent* event)
{
    if (!control_.OwnerDraw()) {
        QTabBar::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const int selected = currentIndex();
    for (int i = 0; i < count(); ++i) {
        if (i == selected) continue;
        const QRect face = TabFace(i);
        control_.PaintTab(painter, i, face.adjusted(1, 1, -2, 0), false);
        DrawTabFrame(painter, face, false);
    }
    // Drawn last so that its frame stands over its neighbours'.
    if (selected >= 0) {
        const QRect face = TabFace(selected);
        control_.PaintTab(painter, selected, face.adjusted(1, 1, -2, 0), true);
        DrawTabFrame(painter, face, true);
    }
}

}  // namespace TovaskTabControl
