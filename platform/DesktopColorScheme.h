#pragma once

#include <QObject>

// Whether the desktop wants dark windows: the user's choice in the desktop's
// own settings, which may change while Dropwell runs.
class DesktopColorScheme : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual bool prefersDark() const = 0;

Q_SIGNALS:
    void changed();
};
