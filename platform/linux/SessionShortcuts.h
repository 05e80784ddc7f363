#pragma once

#include "platform/DesktopShortcuts.h"

#include <QDBusConnection>

#include <memory>

class DefaultsStore;

// Where this session's desktop keeps its keys, chosen by its name
// ($XDG_CURRENT_DESKTOP): GNOME's GSettings, Xfce's xfconf (over the bus
// where xfconfd runs or can be started, else in its file), or KDE's
// kglobalaccel where it runs or can be started. Nothing on a
// desktop whose keys Dropwell cannot set. `program` is what the keys run.
std::unique_ptr<DesktopShortcuts> sessionShortcuts(const QString& desktop, const QString& configHome,
    const QString& program, DefaultsStore& defaults, const QDBusConnection& bus);
