#include "ui/MyMessage/message_layout.h"

#include <QRegularExpression>

#include <algorithm>

namespace MyMessage {

std::array<int, 3> ButtonLefts(std::size_t buttonCount)
{
    switch (buttonCount) {
    case 0:
    case 1: return {105, HiddenButtonLeft, HiddenButtonLeft};
    case 2: return {52, 168, HiddenButtonLeft};
    default: return {17, 109, 201};
    }
}

QPoint TextPosition(int width, int height)
{
    // C++ integer division truncates toward zero, as the layout requires for
    // blocks high enough to give a negative top.
    return {TextCentreX - width / 2, (110 - height) / 3};
}

namespace {

QStringList SplitParagraphs(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    return text.split(lineBreak);
}

// Greedy word wrap: a line takes words while it fits; the blanks at a break
// are dropped.
QStringList WrapParagraph(const QString& paragraph, const LineMeasure& measure, int maxWidth)
{
    QStringList lines;
    QString line;
    qsizetype pos = 0;
    const qsizetype length = paragraph.size();
    auto takeBlanks = [&] {
        const qsizetype start = pos;
        while (pos < length && paragraph[pos] == u' ') ++pos;
        return paragraph.mid(start, pos - start);
    };
    auto takeWord = [&] {
        const qsizetype start = pos;
        while (pos < length && paragraph[pos] != u' ') ++pos;
        return paragraph.mid(start, pos - start);
    };

    line = takeBlanks();
    line += takeWord();
    while (pos < length) {
        const QString blanks = takeBlanks();
        const QString word = takeWord();
        const QString candidate = line + blanks + word;
        if (word.isEmpty() || measure(candidate) <= maxWidth) {
            line = candidate;
        } else {
            lines.append(line);
            line = word;
        }
    }
    lines.append(line);
    return lines;
}

int WidestLine(const QStringList& lines, const LineMeasure& measure)
{
    int widest = 0;
    for (const QString& line : lines) widest = std::max(widest, measure(line));
    return widest;
}

}  // namespace

TextBlock WrapMessageText(const QString& text, int lineHeight, const LineMeasure& measure, int maxWidth)
{
    TextBlock block;
    const QStringList paragraphs = SplitParagraphs(text);
    // Text that fits keeps its lines; wrapping only matters beyond maxWidth.
    if (WidestLine(paragraphs, measure) <= maxWidth) {
        block.Lines = paragraphs;
    } else {
        for (const QString& paragraph : paragraphs) block.Lines += WrapParagraph(paragraph, measure, maxWidth);
    }
    block.Width = WidestLine(block.Lines, measure);
    block.Height = static_cast<int>(block.Lines.size()) * lineHeight;
    return block;
}

std::optional<QColor> ColorFromValue(std::int32_t value)
{
    if (value == -1) return std::nullopt;
    const auto bits = static_cast<std::uint32_t>(value);
    return QColor(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                  static_cast<int>((bits >> 16) & 0xFF));
}

QChar AcceleratorOf(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&') continue;
        if (caption[i + 1] == u'&') {
            ++i;
            continue;
        }
        return caption[i + 1].toUpper();
    }
    return {};
}

QString WithoutAccelerators(const QString& caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
        shown += caption[i];
    }
    return shown;
}

}  // namespace MyMessage
