#pragma once

#include <QString>

// What to tell a user whose desktop shows no system tray, for the desktop
// named in XDG_CURRENT_DESKTOP ("ubuntu:GNOME"): plain GNOME hides tray icons
// unless an extension shows them; elsewhere the panel lacks the applet.
QString trayHelpFor(const QString& desktop);
