#include "app/xp_button.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>

namespace app {

namespace {

constexpr int kGlyphSpacing = 4;
const QColor kBorder(0x00, 0x3C, 0x74);
const QColor kHotEdge(0xF8, 0xB3, 0x30);
const QColor kFaceTop(0xFF, 0xFF, 0xFF);
const QColor kFaceBottom(0xE3, 0xE1, 0xD6);
const QColor kPressedTop(0xE0, 0xDD, 0xD0);
const QColor kPressedBottom(0xF3, 0xF2, 0xEC);

}  // namespace

TXPButton::TXPButton(const QString& caption, const QPixmap& glyph, QWidget* parent)
    : QPushButton(caption, parent), glyph_(glyph)
{
    setAutoDefault(false);
    setDefault(false);
    setAttribute(Qt::WA_Hover);
}

void TXPButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    shape.addRoundedRect(outer, 3, 3);

    const bool down = isDown();
    QLinearGradient face(0, 0, 0, height());
    face.setColorAt(0, down ? kPressedTop : kFaceTop);
    face.setColorAt(1, down ? kPressedBottom : kFaceBottom);
    painter.fillPath(shape, face);
    painter.setPen(isEnabled() ? kBorder : kBorder.lighter(250));
    painter.drawPath(shape);

    if (underMouse() && !down && isEnabled()) {
        QPainterPath hot;
        hot.addRoundedRect(outer.adjusted(1.5, 1.5, -1.5, -1.5), 2, 2);
        painter.setPen(QPen(kHotEdge, 1.5));
        painter.drawPath(hot);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);

    const int flags = Qt::AlignVCenter | Qt::TextShowMnemonic | Qt::TextSingleLine;
    const QSize textSize = fontMetrics().size(flags, text());
    const int contentWidth = glyph_.width() + kGlyphSpacing + textSize.width();
    const QPoint shift = down ? QPoint(1, 1) : QPoint(0, 0);
    int x = (width() - contentWidth) / 2;
    painter.drawPixmap(QPoint(x, (height() - glyph_.height()) / 2) + shift, glyph_);
    x += glyph_.width() + kGlyphSpacing;
    painter.setPen(isEnabled() ? palette().color(QPalette::ButtonText) : QColor(0xA1, 0xA1, 0x92));
    painter.drawText(QRect(QPoint(x, 0) + shift, QSize(textSize.width(), height())), flags, text());

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

}  // namespace app
