#pragma once

#include "platform/DesktopColorScheme.h"

#include <QDBusConnection>
#include <QDBusVariant>

// The desktop's colour scheme from the freedesktop Settings portal
// (org.freedesktop.appearance color-scheme), which GNOME, KDE and others
// serve; its SettingChanged signal keeps it current. Until the portal has
// answered, and where it states no preference or does not run, the guess
// given at construction holds.
class PortalColorScheme : public DesktopColorScheme {
    Q_OBJECT
public:
    PortalColorScheme(QDBusConnection bus, bool guessDark, QObject* parent = nullptr);

    bool prefersDark() const override { return dark_; }

private Q_SLOTS:
    void settingChanged(const QString& group, const QString& key, const QDBusVariant& value);

private:
    void take(const QVariant& scheme);

    bool guessDark_;
    bool dark_;
};
