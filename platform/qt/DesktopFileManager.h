#pragma once

#include "platform/FileManager.h"

#include <QDBusConnection>

// Reveals files through org.freedesktop.FileManager1 (GNOME Files, Dolphin,
// Nemo, Thunar and others implement it), falling back to opening the folder;
// chooses folders with the desktop's own dialog where Qt has one.
class DesktopFileManager final : public FileManager {
public:
    explicit DesktopFileManager(QDBusConnection bus = QDBusConnection::sessionBus());

    void showItems(const QStringList& paths) override;
    std::optional<QString> chooseFolder(const QString& acceptLabel, const QString& message) override;

private:
    QDBusConnection bus_;
};
