#pragma once
#include <QAbstractButton>

namespace app {

// The small flat close button of the header strip; takes no focus.
class THeaderCloseButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit THeaderCloseButton(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {15, 15}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap glyph_;
};

}  // namespace app
