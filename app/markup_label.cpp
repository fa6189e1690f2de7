#include "app/markup_label.h"

#include "ui/Accessibility/roles.h"

#include <QPainter>

#include <array>

namespace app {

namespace {

constexpr QChar kNoBreakSpace(0x00A0);
const QString kNbsp = QStringLiteral("&nbsp;");

struct Tag {
    const char* text;
    bool* flag;
    bool value;
};

}  // namespace

std::vector<MarkupRun> ParseMarkup(const QString& caption)
{
    std::vector<MarkupRun> runs;
    bool bold = false;
    bool italic = false;
    QString pending;

    auto flush = [&] {
        if (pending.isEmpty()) return;
        if (!runs.empty() && runs.back().bold == bold && runs.back().italic == italic)
            runs.back().text += pending;
        else
            runs.push_back({pending, bold, italic});
        pending.clear();
    };

    const std::array<Tag, 4> tags{
        {{"<b>", &bold, true}, {"</b>", &bold, false}, {"<i>", &italic, true}, {"</i>", &italic, false}}};

    qsizetype i = 0;
    while (i < caption.size()) {
        const QStringView rest = QStringView(caption).mid(i);
        bool consumed = false;
        if (caption[i] == u'<') {
            for (const Tag& tag : tags) {
                const QLatin1StringView tagText(tag.text);
                if (rest.startsWith(tagText, Qt::CaseInsensitive)) {
                    if (*tag.flag != tag.value) {
                        flush();
                        *tag.flag = tag.value;
                    }
                    i += tagText.size();
                    consumed = true;
                    break;
                }
            }
        } else if (caption[i] == u'&' && rest.startsWith(kNbsp, Qt::CaseInsensitive)) {
            pending += kNoBreakSpace;
            i += kNbsp.size();
            consumed = true;
        }
        if (!consumed) pending += caption[i++];
    }
    flush();
    return runs;
}

TMarkupLabel::TMarkupLabel(const QString& caption, QWidget* parent) : QWidget(parent)
{
    SetCaption(caption);
}

void TMarkupLabel::SetCaption(const QString& caption)
{
    caption_ = caption;
    runs_ = ParseMarkup(caption);
    // Read out without the indent that the non-breaking blanks make on screen.
    Accessibility::ExposeAsStaticText(*this, PlainText().replace(kNoBreakSpace, u' ').trimmed());
    update();
}

QString TMarkupLabel::PlainText() const
{
    QString text;
    for (const MarkupRun& run : runs_) text += run.text;
    return text;
}

void TMarkupLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics base(font());
    const int baseline = (height() - base.height()) / 2 + base.ascent();
    int x = 0;
    for (const MarkupRun& run : runs_) {
        QFont face = font();
        face.setBold(run.bold);
        face.setItalic(run.italic);
        painter.setFont(face);
        painter.drawText(x, baseline, run.text);
        x += QFontMetrics(face).horizontalAdvance(run.text);
        if (x >= width()) break;
    }
}

}  // namespace app
