#pragma once
// Hand-painted text widgets, read by assistive technology as Qt's own labels are.

#include <QString>

class QWidget;

namespace Accessibility {

// From now on the widget reads as static text whose name is the given text,
// the text as it shows on screen (no markup, no accelerator marks). Call it
// again whenever the shown text changes.
void ExposeAsStaticText(QWidget& widget, const QString& shownText);

}  // namespace Accessibility
