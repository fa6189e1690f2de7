#include "app/header_strip.h"

#include <QMouseEvent>
#include <QPainter>

namespace app {

THeaderStrip::THeaderStrip(const QColor& background, const QColor& line, QWidget* parent) : QWidget(parent), line_(line)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, background);
    setPalette(p);
    setAutoFillBackground(true);
}

void THeaderStrip::FollowMouse(const QPointF& globalPressPosition)
{
    following_ = true;
    pressGlobal_ = globalPressPosition;
    windowAtPress_ = window()->pos();
}

void THeaderStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(line_);
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
    if (onPaint_) onPaint_(painter, QRect(0, 0, width(), height() - 1));
}

void THeaderStrip::mousePressEvent(QMouseEvent* event)
{
    if (onMouseDown_) onMouseDown_(*event);
    event->accept();
}

void THeaderStrip::mouseMoveEvent(QMouseEvent* event)
{
    if (!following_) return;
    const QPointF delta = event->globalPosition() - pressGlobal_;
    window()->move(windowAtPress_ + delta.toPoint());
}

void THeaderStrip::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->buttons() == Qt::NoButton) following_ = false;
}

}  // namespace app
