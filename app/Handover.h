#pragma once

#include "app/Command.h"

#include <QString>

class QDBusConnection;
class QDBusMessage;

// Hands a command to the Dropwell that already runs, over the session bus.
// It needs no more than a core application, so a key binding's
// `dropwell --capture` never opens the display. It takes neither the bus name
// nor the lock: SingleInstance still decides who the one Dropwell is.
class Handover {
public:
    enum class Result {
        Taken, // a running Dropwell carries the command out
        NoneRunning, // nobody owns the bus name
        NoBus, // no session bus: only the lock file can tell
        Unanswered, // the running one did not take it
    };

    // Calls the running Dropwell over the session bus.
    explicit Handover(const Command& command);

    Result result() const { return result_; }
    // Why, for NoBus and Unanswered.
    const QString& reason() const { return reason_; }

    // Calls the method of the running Dropwell on `bus` that carries out `command`.
    static QDBusMessage call(const QDBusConnection& bus, const Command& command);

private:
    Result result_ = Result::NoneRunning;
    QString reason_;
};
