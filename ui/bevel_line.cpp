#include "ui/bevel_line.h"

#include <QPainter>

namespace ui {

TBevelLine::TBevelLine(QWidget* parent) : QWidget(parent)
{
    // It overlaps the top of the buttons below it; clicks must reach them.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TBevelLine::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(0, 0, width() - 1, 0);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(0, 1, width() - 1, 1);
}

}  // namespace ui
