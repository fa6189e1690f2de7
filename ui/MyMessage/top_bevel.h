#pragma once
// A bevel that draws one etched line along its top edge.

#include <QWidget>

namespace MyMessage {

class TTopBevel : public QWidget {
    Q_OBJECT
public:
    explicit TTopBevel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace MyMessage
