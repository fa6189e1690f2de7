#include "ui/Accessibility/roles.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace Accessibility {

namespace {

constexpr char kRoleMark[] = "vkAccessibleRole";

// A plain widget reads as a nameless client area (a "filler"); a marked one
// in the role it was given.
QAccessibleInterface* MarkedRoleFactory(const QString&, QObject* object)
{
    if (!object || !object->isWidgetType()) return nullptr;
    const QVariant role = object->property(kRoleMark);
    if (!role.isValid()) return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), static_cast<QAccessible::Role>(role.toInt()));
}

void Mark(QWidget& widget, QAccessible::Role role)
{
    static const bool installed = [] {
        QAccessible::installFactory(&MarkedRoleFactory);
        return true;
    }();
    (void)installed;
    widget.setProperty(kRoleMark, static_cast<int>(role));
}

}  // namespace

void ExposeAsStaticText(QWidget& widget, const QString& shownText)
{
    Mark(widget, QAccessible::StaticText);
    widget.setAccessibleName(shownText);
}

void ExposeAsWindow(QWidget& window)
{
    Mark(window, QAccessible::Window);
}

}  // namespace Accessibility
