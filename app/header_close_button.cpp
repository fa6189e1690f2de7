#include "app/header_close_button.h"

#include "app/artwork.h"

#include <QPainter>

namespace app {

THeaderCloseButton::THeaderCloseButton(QWidget* parent) : QAbstractButton(parent), glyph_(HeaderCloseGlyph())
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
}

void THeaderCloseButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    if (isDown()) {
        painter.fillRect(rect(), palette().color(QPalette::Window).darker(115));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(frame);
    } else if (underMouse()) {
        painter.fillRect(rect(), palette().color(QPalette::Window).lighter(115));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(frame);
    }
    const QPoint offset = isDown() ? QPoint(1, 1) : QPoint(0, 0);
    painter.drawPixmap(offset, glyph_);
}

}  // namespace app
