#pragma once

#include <QApplication>
#include <QWidget>

#include <algorithm>

// How many of this process's windows with this object name are on screen.
inline int shownWindowsNamed(const QString& name)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return int(std::ranges::count_if(windows, [&](QWidget* w) { return w->objectName() == name && w->isVisible(); }));
}
