#include "ui/TovaskTabControl/tovask_page_control.h"

#include "ui/TovaskTabControl/page_control_style.h"
#include "ui/TovaskTabControl/tovask_tab_bar.h"

#include <QEvent>
#include <QPainter>
#include <QStyleOptionTabWidgetFrame>

namespace TovaskTabControl {

namespace {

const QColor kLight(Qt::white);
const QColor kShadow(0x80, 0x80, 0x80);
const QColor kDarkShadow(0x40, 0x40, 0x40);

}  // namespace

TTovaskPageControl::TTovaskPageControl(QWidget* parent)
    : QTabWidget(parent), model_(palette().color(QPalette::Window), QColor(Qt::white)),
      fontColor_(palette().color(QPalette::WindowText)), style_(new PageControlStyle(this))
{
    setStyle(style_);
    setTabBar(new TTovaskTabBar(*this));
    WatchParent();
}

TTovaskPageControl::~TTovaskPageControl()
{
    if (watchedParent_) watchedParent_->removeEventFilter(this);
    // The base destructor still looks at the widget's style, which would by
    // then be gone with the other child objects.
    setStyle(nullptr);
}

void TTovaskPageControl::SetParentColor(bool value)
{
    const bool notify = model_.WriteParentColor(value, ParentBrushColor());
    ApplyControlColor();
    if (notify) ParentColorChanged();
    Repaint();
}

void TTovaskPageControl::SetColorTab(const QColor& color)
{
    model_.WriteColorTab(color);
    Repaint();
}

void TTovaskPageControl::SetColorWindow(const QColor& color)
{
    model_.WriteColorWindow(color);
    Repaint();
}

void TTovaskPageControl::SetEqualColor(bool value)
{
    model_.WriteEqualColor(value);
    ApplyControlColor();
    Repaint();
}

void TTovaskPageControl::SetOwnerDraw(bool value)
{
    if (ownerDraw_ == value) return;
    ownerDraw_ = value;
    // The tab sizes depend on who draws them; this makes the bar measure anew.
    tabBar()->setIconSize(tabBar()->iconSize());
    tabBar()->updateGeometry();
    Repaint();
}

void TTovaskPageControl::SetFontColor(const QColor& color)
{
    fontColor_ = color;
    Repaint();
}

void TTovaskPageControl::SetOnDrawTab(DrawTabHandler handler)
{
    onDrawTab_ = std::move(handler);
    Repaint();
}

void TTovaskPageControl::PaintTab(QPainter& canvas, int TabIndex, const QRect& Rect, bool Active)
{
    // The brushes were set again before the row was painted (SyncTabBrushes).
    const QColor tabColor = model_.Colors().tab;
    if (onDrawTab_)
        onDrawTab_(canvas, TabIndex, Rect, Active);
    else
        canvas.fillRect(Rect, tabColor);

    canvas.save();
    canvas.setFont(font());
    canvas.setPen(fontColor_);
    canvas.setBackgroundMode(Qt::OpaqueMode);
    canvas.setBackground(tabColor);
    // The original asked for "bottom" with tabs at the bottom and "right" with
    // tabs at the right, but its text drawing lets vertical centring win over
    // bottom and centring over right: captions stand centred at every position.
    canvas.drawText(Rect, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, tabText(TabIndex));
    canvas.restore();
}

void TTovaskPageControl::ParentColorChanged()
{
    if (!model_.ParentColorChanged(ParentBrushColor())) return;
    ApplyControlColor();
    Repaint();
}

void TTovaskPageControl::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(rect(), model_.Colors().background);
    if (!ownerDraw_) {
        painter.end();
        QTabWidget::paintEvent(event);
        return;
    }
    DrawPaneFrame(painter);
}

void TTovaskPageControl::DrawPaneFrame(QPainter& painter) const
{
    QStyleOptionTabWidgetFrame option;
    initStyleOption(&option);
    const QRect pane = style()->subElementRect(QStyle::SE_TabWidgetTabPane, &option, this);
    if (pane.isEmpty()) return;

    // The selected tab opens into the page: no frame line under it.
    QRect gap;
    if (currentIndex() >= 0) {
        const QRect tab = tabBar()->tabRect(currentIndex());
        gap = QRect(tabBar()->mapToParent(tab.topLeft()), tab.size()).adjusted(1, 0, -2, 0);
    }
    const bool north = tabPosition() == North;
    const bool south = tabPosition() == South;

    painter.setPen(kLight);
    if (north && !gap.isEmpty()) {
        painter.drawLine(pane.left(), pane.top(), gap.left() - 1, pane.top());
        painter.drawLine(gap.right() + 1, pane.top(), pane.right(), pane.top());
    } else {
        painter.drawLine(pane.topLeft(), pane.topRight());
    }
    painter.drawLine(pane.topLeft(), pane.bottomLeft());

    painter.setPen(kShadow);
    painter.drawLine(pane.topRight() + QPoint(-1, 1), pane.bottomRight() - QPoint(1, 1));
    painter.setPen(kDarkShadow);
    painter.drawLine(pane.topRight(), pane.bottomRight());
    if (south && !gap.isEmpty()) {
        painter.drawLine(pane.left(), pane.bottom(), gap.left() - 1, pane.bottom());
        painter.drawLine(gap.right() + 1, pane.bottom(), pane.right(), pane.bottom());
        painter.setPen(kShadow);
        painter.drawLine(pane.left() + 1, pane.bottom() - 1, gap.left() - 1, pane.bottom() - 1);
        painter.drawLine(gap.right() + 1, pane.bottom() - 1, pane.right() - 1, pane.bottom() - 1);
    } else {
        painter.drawLine(pane.bottomLeft(), pane.bottomRight());
        painter.setPen(kShadow);
        painter.drawLine(pane.bottomLeft() + QPoint(1, -1), pane.bottomRight() - QPoint(1, 1));
    }
}

void TTovaskPageControl::changeEvent(QEvent* event)
{
    QTabWidget::changeEvent(event);
    if (event->type() == QEvent::ParentChange) {
        WatchParent();
        ParentColorChanged();
    }
}

bool TTovaskPageControl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == watchedParent_ && event->type() == QEvent::PaletteChange) ParentColorChanged();
    return QTabWidget::eventFilter(watched, event);
}

void TTovaskPageControl::showEvent(QShowEvent* event)
{
    SyncTabBrushes();
    QTabWidget::showEvent(event);
}

void TTovaskPageControl::tabInserted(int index)
{
    QTabWidget::tabInserted(index);
    if (QWidget* page = widget(index)) page->setAutoFillBackground(true);
    Repaint();
}

std::optional<QColor> TTovaskPageControl::ParentBrushColor() const
{
    const QWidget* parent = parentWidget();
    if (!parent) return std::nullopt;
    return parent->palette().color(parent->backgroundRole());
}

void TTovaskPageControl::ApplyControlColor()
{
    const QColor& color = model_.Colors().control;
    if (palette().color(QPalette::Window) == color) return;
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
}

void TTovaskPageControl::WatchParent()
{
    QWidget* parent = parentWidget();
    if (watchedParent_ == parent) return;
    if (watchedParent_) watchedParent_->removeEventFilter(this);
    watchedParent_ = parent;
    if (parent) parent->installEventFilter(this);
}

void TTovaskPageControl::SyncTabBrushes()
{
    // Every tab drawing sets B and T again from the stored colours. That is
    // done here, before anything is painted, whenever the tabs are about to be
    // drawn, so that the tab row and the control paint with the same B.
    if (ownerDraw_ && count() > 0 && isVisible()) model_.PrepareTabBrushes(ParentBrushColor());
}

void TTovaskPageControl::Repaint()
{
    SyncTabBrushes();
    update();
    tabBar()->update();
}

}  // namespace TovaskTabControl
