#include "app/window_utils.h"

#include <QApplication>
#include <QGuiApplication>
#include <QRect>
#include <QWidget>

namespace utils {

void WarningBeep()
{
    // Without a GUI application there is no platform to sound it.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) QApplication::beep();
}

void HideWindowCaption(QWidget* window, bool hide)
{
    if (window == nullptr || !window->isWindow()) return;
    const Qt::WindowFlags flags = window->windowFlags();
    if (flags.testFlag(Qt::FramelessWindowHint) == hide) return;

    // The outer corner stays where it is: the client area moves up and left by
    // the frame that goes, or down and right by the frame that comes.
    const QPoint outerCorner = window->pos();
    const QSize client = window->size();
    const bool wasVisible = window->isVisible();
    const bool wasPlaced = window->testAttribute(Qt::WA_Moved);
    // Changing the flags recreates the native window and hides it.
    window->setWindowFlags(flags ^ Qt::FramelessWindowHint);
    window->resize(client);
    // Never placed yet: leave the first placement (centring) to the caller.
    if (wasVisible || wasPlaced) window->move(outerCorner);
    if (wasVisible) window->show();
}

}  // namespace utils
