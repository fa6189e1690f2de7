#pragma once
// The main window keeps its parts to itself; tests find them by their design
// names, as a user finds them by what they show.

#include "app/markup_label.h"

#include <QList>
#include <QObject>
#include <QWidget>

#include <stdexcept>
#include <string>

template <class T = QWidget>
T* Part(const QWidget& window, const char* name)
{
    T* part = window.findChild<T*>(QString::fromLatin1(name));
    if (!part) throw std::logic_error(std::string("the window has no part ") + name);
    return part;
}

// The lines of "Opis patcha", top to bottom.
inline QList<app::TMarkupLabel*> DescriptionLines(const QWidget& window)
{
    return Part(window, "TabSheet2")->findChildren<app::TMarkupLabel*>(Qt::FindDirectChildrenOnly);
}
