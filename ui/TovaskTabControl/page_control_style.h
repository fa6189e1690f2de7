#pragma once
#include <QProxyStyle>

namespace TovaskTabControl {

// Fixed tab row and page frame of the page control, whatever the desktop style,
// so that the pages keep the design's size in any font.
class PageControlStyle : public QProxyStyle {
    Q_OBJECT
public:
    static constexpr int kTabHeight = 20;  // tab row, selected tab included
    static constexpr int kTabIndent = 2;   // first tab from the control's edge
    static constexpr int kPaneMargin = 4;  // frame and gap around a page

    explicit PageControlStyle(QObject* owner);

    QRect subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const override;
};

}  // namespace TovaskTabControl
