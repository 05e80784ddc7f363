#pragma once

#include "platform/DesktopShortcuts.h"

#include <QObject>

// Keys the desktop itself asks the user for and keeps, each running one of
// Dropwell's commands in the Dropwell that runs. Dropwell only names the
// commands; the keys are the desktop's to change or take away.
class ChosenShortcuts : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Whether the desktop offers them; known once it has answered.
    virtual bool offered() const = 0;
    // The desktop's words for the key that runs the command ("Ctrl+Print"),
    // nothing when none does.
    virtual QString trigger(ShortcutCommand command) const = 0;
    // Asks the desktop to let the user choose keys for all the commands.
    virtual void choose() = 0;

Q_SIGNALS:
    void changed();
    void activated(ShortcutCommand command);
    void failed(const QString& message);
};
