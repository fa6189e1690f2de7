#pragma once
#include <QWidget>

namespace ui {

// An etched line along the top edge: the palette's Dark colour, with its Light
// colour under it. It lets clicks through to whatever it overlaps.
class TBevelLine : public QWidget {
    Q_OBJECT
public:
    explicit TBevelLine(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace ui
