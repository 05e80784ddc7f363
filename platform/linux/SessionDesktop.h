#pragma once

#include <QString>

// Whether the session's desktop ($XDG_CURRENT_DESKTOP, e.g. "ubuntu:GNOME")
// is, or is built on, the one named.
bool sessionIs(const QString& desktop, const char* name);
