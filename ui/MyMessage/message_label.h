#pragma once
// The message window's text label: sizes itself to its text, draws "&" marks
// as underlined accelerators ("&&" as one "&") and shows the lines left-aligned.

#include "ui/MyMessage/message_layout.h"

#include <QWidget>

namespace MyMessage {

class TMessageLabel : public QWidget {
    Q_OBJECT
public:
    explicit TMessageLabel(QWidget* parent = nullptr);

    // Lays the text out within MaxTextWidth with the label's own font and
    // resizes the label to the result.
    void SetCaption(const QString& caption);
    const QString& Caption() const { return caption_; }
    const QStringList& Lines() const { return block_.Lines; }

    // Shown width of one line in the label's font.
    int LineWidth(const QString& line) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
    TextBlock block_;
};

}  // namespace MyMessage
