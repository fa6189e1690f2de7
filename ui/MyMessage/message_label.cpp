#include "ui/MyMessage/message_label.h"

#include "ui/Accessibility/roles.h"

#include <QPainter>

namespace MyMessage {

namespace {
constexpr int LineFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic;
}

TMessageLabel::TMessageLabel(QWidget* parent) : QWidget(parent)
{
    // The window's colour shows behind the text.
    setAutoFillBackground(false);
}

int TMessageLabel::LineWidth(const QString& line) const
{
    return fontMetrics().size(LineFlags, line).width();
}

void TMessageLabel::SetCaption(const QString& caption)
{
    caption_ = caption;
    block_ = WrapMessageText(caption, fontMetrics().height(), [this](const QString& line) { return LineWidth(line); });
    resize(block_.Width, block_.Height);
    Accessibility::ExposeAsStaticText(*this, WithoutAccelerators(caption));
    update();
}

void TMessageLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const int lineHeight = fontMetrics().height();
    int top = 0;
    for (const QString& line : block_.Lines) {
        painter.drawText(QRect(0, top, width(), lineHeight), LineFlags, line);
        top += lineHeight;
    }
}

}  // namespace MyMessage
