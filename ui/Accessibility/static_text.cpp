#include "ui/Accessibility/static_text.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace Accessibility {

namespace {

constexpr char kStaticTextMark[] = "vkStaticText";

// A plain widget reads as a nameless client area; a marked one as text.
QAccessibleInterface* StaticTextFactory(const QString&, QObject* object)
{
    if (!object || !object->isWidgetType() || !object->property(kStaticTextMark).toBool()) return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::StaticText);
}

}  // namespace

void ExposeAsStaticText(QWidget& widget, const QString& shownText)
{
    static const bool installed = [] {
        QAccessible::installFactory(&StaticTextFactory);
        return true;
    }();
    (void)installed;
    widget.setProperty(kStaticTextMark, true);
    widget.setAccessibleName(shownText);
}

}  // namespace Accessibility
