#pragma once
#include <QColor>

#include <optional>

namespace TovaskTabControl {

// The three colours of the base control that the colour properties steer.
struct PageColors {
    QColor background;  // B: erases the tab row and the frame around the pages
    QColor tab;         // T: fills every tab
    QColor control;     // C: the control's own colour; the pages take it
};

// The colour rules of the page control, kept apart from painting so that they
// can be checked without a display. A parent colour of nullopt means the
// control has no parent.
class PageColorModel {
public:
    PageColorModel(const QColor& controlColor, const QColor& tabBrush);

    const PageColors& Colors() const { return colors_; }
    bool ParentColor() const { return parentColor_; }
    bool EqualColor() const { return equalColor_; }
    const QColor& ColorTab() const { return colorTab_; }
    const QColor& ColorWindow() const { return colorWindow_; }

    // C; a new value carries B with it, the same value changes nothing.
    void SetControlColor(const QColor& color);

    void WriteColorTab(const QColor& color);
    void WriteColorWindow(const QColor& color);
    void WriteEqualColor(bool value);
    // Returns whether the parent-colour-changed notification is to follow.
    bool WriteParentColor(bool value, const std::optional<QColor>& parentColor);
    // Returns whether the control must be erased and repainted as a whole.
    bool ParentColorChanged(const std::optional<QColor>& parentColor);
    // Sets B and T again before a tab is drawn; EqualColor plays no part.
    void PrepareTabBrushes(const std::optional<QColor>& parentColor);

private:
    PageColors colors_;
    QColor colorTab_{Qt::black};
    QColor colorWindow_{Qt::black};
    bool equalColor_ = false;
    bool parentColor_ = false;
};

}  // namespace TovaskTabControl
