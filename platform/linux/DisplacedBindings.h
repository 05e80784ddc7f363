#pragma once

#include "platform/DesktopShortcuts.h"

#include <vector>

class DefaultsStore;

// What Dropwell's keys took from the rest of the desktop, by command, kept
// in the defaults store (so a restart loses nothing) until it is given back.
// Each binding is a few fields whose meaning the desktop's store decides.
class DisplacedBindings {
public:
    explicit DisplacedBindings(DefaultsStore& defaults) : defaults_(defaults) {}

    void remember(ShortcutCommand command, const QStringList& binding);
    // Forgets them: the caller remembers anew whatever it could not give back.
    std::vector<QStringList> take(ShortcutCommand command);

private:
    DefaultsStore& defaults_;
};
