#pragma once
#include <QWidget>

namespace app {

// A single etched line along the top edge.
class TBevelLine : public QWidget {
    Q_OBJECT
public:
    explicit TBevelLine(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace app
