#include "app/bevel_line.h"

#include <QPainter>

namespace app {

TBevelLine::TBevelLine(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TBevelLine::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawLine(0, 0, width() - 1, 0);
    painter.setPen(Qt::white);
    painter.drawLine(0, 1, width() - 1, 1);
}

}  // namespace app
