#pragma once

#include <QString>

struct Notification {
    QString title;
    QString body;
    // Distinct for every notification, so that none replaces another.
    QString identifier;
};

// The desktop's notification service.
class Notifier {
public:
    virtual ~Notifier() = default;
    // Delivered at once; a failure is not reported, the user simply sees nothing.
    virtual void post(const Notification& notification) = 0;
    // Where the desktop asks the user before a program may notify, asks now.
    virtual void requestPermission() = 0;
};
