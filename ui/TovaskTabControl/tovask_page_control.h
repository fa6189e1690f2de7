#pragma once
#include "ui/TovaskTabControl/page_colors.h"

#include <QPointer>
#include <QTabWidget>

#include <functional>

class QPainter;

namespace TovaskTabControl {

class PageControlStyle;

// A page control whose tabs, tab row and pages take colours of the program's
// choosing instead of the desktop's. While OwnerDraw is on, every tab is drawn
// by PaintTab. The pages take the control's colour C.
class TTovaskPageControl : public QTabWidget {
    Q_OBJECT
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)
    Q_PROPERTY(QColor ColorTab READ ColorTab WRITE SetColorTab)
    Q_PROPERTY(QColor ColorWindow READ ColorWindow WRITE SetColorWindow)
    Q_PROPERTY(bool EqualColor READ EqualColor WRITE SetEqualColor)
    Q_PROPERTY(bool OwnerDraw READ OwnerDraw WRITE SetOwnerDraw)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE SetFontColor)

public:
    // May replace the plain fill of a tab; the caption is drawn over it all the same.
    using DrawTabHandler = std::function<void(QPainter& canvas, int tabIndex, const QRect& rect, bool active)>;

    explicit TTovaskPageControl(QWidget* parent = nullptr);
    ~TTovaskPageControl() override;

    bool ParentColor() const { return model_.ParentColor(); }
    void SetParentColor(bool value);
    QColor ColorTab() const { return model_.ColorTab(); }
    void SetColorTab(const QColor& color);
    QColor ColorWindow() const { return model_.ColorWindow(); }
    void SetColorWindow(const QColor& color);
    bool EqualColor() const { return model_.EqualColor(); }
    void SetEqualColor(bool value);

    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool value);
    // Colour of the control's font: the tab captions. The pages keep their own.
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& color);

    void SetOnDrawTab(DrawTabHandler handler);

    // B, T and C as they stand.
    const PageColors& Colors() const { return model_.Colors(); }

    // Fills and captions one tab; called by the tab row for every tab while
    // OwnerDraw is on. Rect is in the tab row's coordinates.
    virtual void PaintTab(QPainter& canvas, int TabIndex, const QRect& Rect, bool Active);

    // The parent's colour has changed.
    void ParentColorChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void tabInserted(int index) override;

private:
    std::optional<QColor> ParentBrushColor() const;
    void ApplyControlColor();
    void WatchParent();
    void SyncTabBrushes();
    void Repaint();
    void DrawPaneFrame(QPainter& painter) const;

    PageColorModel model_;
    bool ownerDraw_ = false;
    QColor fontColor_;
    DrawTabHandler onDrawTab_;
    PageControlStyle* style_;  // owned as a child object
    QPointer<QWidget> watchedParent_;
};

}  // namespace TovaskTabControl
