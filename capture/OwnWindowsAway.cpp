#include "capture/OwnWindowsAway.h"

#include <QApplication>

#include <algorithm>

namespace {

// The tray icon's own window sits inside the panel, which is the desktop's,
// not Dropwell's: hiding it would take the icon out of the tray.
bool isTrayIcon(const QWidget* window) { return window->inherits("QSystemTrayIconSys"); }

bool isOnScreen(const QWidget* window) { return window->isVisible() && !window->isMinimized() && !isTrayIcon(window); }

// A menu or a tooltip closes for good: bringing it back would grab the
// keyboard where the user no longer expects it.
bool comesBack(const QWidget* window)
{
    const Qt::WindowType type = window->windowType();
    return type != Qt::Popup && type != Qt::ToolTip;
}

} // namespace

OwnWindowsAway::OwnWindowsAway()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!isOnScreen(window))
            continue;
        if (comesBack(window))
            hidden_.emplace_back(window);
        window->hide();
    }
}

OwnWindowsAway::~OwnWindowsAway()
{
    for (const QPointer<QWidget>& window : hidden_) {
        if (window)
            window->show();
    }
}

bool OwnWindowsAway::anyShown()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), isOnScreen);
}

void OwnWindowsAway::forget(const QWidget* window)
{
    std::erase_if(hidden_, [window](const QPointer<QWidget>& hidden) { return hidden == window; });
}
