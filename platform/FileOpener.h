#pragma once

#include "platform/Status.h"

#include <QList>
#include <QString>

// One program of the desktop that can open a file.
struct OpeningApplication {
    QString id; // the desktop entry's id, e.g. "org.gnome.eog.desktop"
    QString name; // as the desktop's menus show it
    bool isDefault = false;

    bool operator==(const OpeningApplication&) const = default;
};

// Opens files in the desktop's programs, the way the file manager does.
class FileOpener {
public:
    virtual ~FileOpener() = default;
    // The programs registered for the type of the file at `path`, the
    // default one first; none when the desktop knows of none.
    virtual QList<OpeningApplication> applicationsFor(const QString& path) const = 0;
    // Starts the program `applicationId` (the default one for the file's
    // type when empty) on `path`.
    virtual Status open(const QString& path, const QString& applicationId) = 0;
};
