#include "ui/MyMessage/top_bevel.h"

#include <QPainter>

namespace MyMessage {

TTopBevel::TTopBevel(QWidget* parent) : QWidget(parent)
{
    // It overlaps the top of the buttons; clicks must reach them.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TTopBevel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(0, 0, width() - 1, 0);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(0, 1, width() - 1, 1);
}

}  // namespace MyMessage
