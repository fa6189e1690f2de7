#pragma once
#include <QPixmap>
#include <QPushButton>

namespace app {

// A push button in the rounded Windows XP look, its glyph left of the caption
// and the pair centred; "&" marks the access key.
class TXPButton : public QPushButton {
    Q_OBJECT
public:
    TXPButton(const QString& caption, const QPixmap& glyph, QWidget* parent = nullptr);

    const QPixmap& Glyph() const { return glyph_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap glyph_;
};

}  // namespace app
