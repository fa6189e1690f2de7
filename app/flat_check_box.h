#pragma once
#include <QCheckBox>

namespace app {

// A check box in the flat style: a plain white box with a thin frame.
class TFlatCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit TFlatCheckBox(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
};

}  // namespace app
