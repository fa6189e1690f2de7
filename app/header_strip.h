#pragma once
#include <QPoint>
#include <QWidget>

#include <functional>

namespace app {

// The caption strip of a window without a caption bar: its own background and
// a one-pixel line along the bottom, a title drawn by its owner, and window
// moves started by a press of any mouse button.
class THeaderStrip : public QWidget {
    Q_OBJECT
public:
    using PaintHandler = std::function<void(QPainter& canvas, const QRect& area)>;
    using MouseDownHandler = std::function<void(QMouseEvent& event)>;

    THeaderStrip(const QColor& background, const QColor& line, QWidget* parent = nullptr);

    void SetOnPaint(PaintHandler handler) { onPaint_ = std::move(handler); }
    void SetOnMouseDown(MouseDownHandler handler) { onMouseDown_ = std::move(handler); }

    // Where the window system offers no move of its own: the window follows the
    // mouse from this press until every button is released.
    void FollowMouse(const QPointF& globalPressPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QColor line_;
    PaintHandler onPaint_;
    MouseDownHandler onMouseDown_;
    bool following_ = false;
    QPointF pressGlobal_;
    QPoint windowAtPress_;
};

}  // namespace app
