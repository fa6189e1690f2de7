#pragma once
// Widgets read by assistive technology in the role they play: hand-painted
// text as Qt's own labels are, a plain widget that is a top-level window as a
// window (a frame), announced by its title.

#include <QString>

class QWidget;

namespace Accessibility {

// From now on the widget reads as static text whose name is the given text,
// the text as it shows on screen (no markup, no accelerator marks). Call it
// again whenever the shown text changes.
void ExposeAsStaticText(QWidget& widget, const QString& shownText);

// From now on the widget reads as a window whose name is its window title.
// Call it before anything asks for the widget's accessible interface: the
// interface, once made, is kept.
void ExposeAsWindow(QWidget& window);

}  // namespace Accessibility
