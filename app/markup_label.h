#pragma once
#include <QString>
#include <QWidget>

#include <vector>

namespace app {

// A piece of caption in one face.
struct MarkupRun {
    QString text;
    bool bold = false;
    bool italic = false;
    bool operator==(const MarkupRun&) const = default;
};

// Splits a caption of the small label markup into runs: <B>…</B> bold,
// <I>…</I> italic (tags in either letter case, nesting allowed), &nbsp; a
// non-breaking blank. Anything else, stray "<" or "&" included, is plain text.
std::vector<MarkupRun> ParseMarkup(const QString& caption);

// One-line label with that markup, in its parent's font and on its parent's
// background.
class TMarkupLabel : public QWidget {
    Q_OBJECT
public:
    explicit TMarkupLabel(const QString& caption, QWidget* parent = nullptr);

    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    // The caption as it reads on screen, without markup.
    QString PlainText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
    std::vector<MarkupRun> runs_;
};

}  // namespace app
