#include "ui/TovaskTabControl/page_colors.h"

namespace TovaskTabControl {

PageColorModel::PageColorModel(const QColor& controlColor, const QColor& tabBrush)
    : colors_{controlColor, tabBrush, controlColor}
{
}

void PageColorModel::SetControlColor(const QColor& color)
{
    if (colors_.control == color) return;
    colors_.control = color;
    colors_.background = color;
}

void PageColorModel::WriteColorTab(const QColor& color)
{
    colorTab_ = color;
    if (!parentColor_) colors_.tab = color;
}

void PageColorModel::WriteColorWindow(const QColor& color)
{
    colorWindow_ = color;
    if (!parentColor_) colors_.background = color;
}

void PageColorModel::WriteEqualColor(bool value)
{
    if (value) colors_.background = colors_.tab;
    SetControlColor(colors_.background);
    equalColor_ = value;
}

bool PageColorModel::WriteParentColor(bool value, const std::optional<QColor>& parentColor)
{
    parentColor_ = value;
    if (value) {
        // Without a parent there is nothing to take yet; the colours follow
        // once the control is given one.
        if (parentColor) {
            colors_.tab = *parentColor;
            colors_.background = *parentColor;
            SetControlColor(*parentColor);
        }
    } else {
        colors_.background = colorWindow_;
        colors_.tab = colorTab_;
    }
    if (equalColor_) colors_.background = colors_.tab;
    return parentColor.has_value();
}

bool PageColorModel::ParentColorChanged(const std::optional<QColor>& parentColor)
{
    if (!parentColor_ || !parentColor) return false;
    SetControlColor(*parentColor);
    return true;
}

void PageColorModel::PrepareTabBrushes(const std::optional<QColor>& parentColor)
{
    if (parentColor_ && parentColor) {
        colors_.background = *parentColor;
        colors_.tab = *parentColor;
    } else {
        colors_.background = colorWindow_;
        colors_.tab = colorTab_;
    }
}

}  // namespace TovaskTabControl
