#pragma once

#include <QObject>

// A place on the desktop that shows the icons of running programs: a panel's
// system tray. At login it may come up only after Dropwell, and a panel that
// restarts takes it away and brings it back.
class TrayHost : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Whether a tray is there now, as far as this host has heard.
    virtual bool isPresent() const = 0;

Q_SIGNALS:
    // A tray came up where there was none.
    void appeared();
};
