#pragma once
#include <QTabBar>

namespace TovaskTabControl {

class TTovaskPageControl;

// The tab row of TTovaskPageControl. While the control is owner-drawn, every
// tab is filled and captioned by the control's PaintTab; this bar only adds the
// raised frame that marks the tabs and lifts the selected one.
class TTovaskTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit TTovaskTabBar(TTovaskPageControl& control);

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    void paintEvent(QPaintEvent* event) override;

private:
    QRect TabFace(int index) const;
    void DrawTabFrame(QPainter& painter, const QRect& face, bool selected) const;

    TTovaskPageControl& control_;
};

}  // namespace TovaskTabControl
