#include "app/flat_check_box.h"

#include <QPainter>
#include <QStyleOptionFocusRect>

namespace app {

namespace {

constexpr int kBox = 13;
constexpr int kTextGap = 4;

}  // namespace

TFlatCheckBox::TFlatCheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {}

bool TFlatCheckBox::hitButton(const QPoint& pos) const
{
    return rect().contains(pos);
}

void TFlatCheckBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect box(0, (height() - kBox) / 2, kBox, kBox);
    painter.fillRect(box, isDown() ? palette().color(QPalette::Button) : QColor(Qt::white));
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(box.adjusted(0, 0, -1, -1));

    if (checkState() != Qt::Unchecked) {
        painter.setRenderHint(QPainter::Antialiasing);
        QPen pen(checkState() == Qt::Checked ? palette().color(QPalette::WindowText) : palette().color(QPalette::Mid),
                 2);
        painter.setPen(pen);
        const QPointF origin = box.topLeft();
        const QPointF tick[] = {origin + QPointF(3, 6.5), origin + QPointF(5.5, 9), origin + QPointF(10, 4)};
        painter.drawPolyline(tick, 3);
        painter.setRenderHint(QPainter::Antialiasing, false);
    }

    const int textLeft = kBox + kTextGap;
    const QRect textArea(textLeft, 0, width() - textLeft, height());
    painter.setPen(palette().color(QPalette::WindowText));
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic | Qt::TextSingleLine;
    painter.drawText(textArea, flags, text());

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = painter.boundingRect(textArea, flags, text()).adjusted(-1, 0, 1, 0);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

}  // namespace app
