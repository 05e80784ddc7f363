#pragma once

#include "platform/DesktopShortcuts.h"
#include "platform/Status.h"

#include <QString>

class QCommandLineParser;

// What one start of the program asks of Dropwell. The first Dropwell carries
// it out itself; a later start hands it to the running one over D-Bus, so
// the user's own key bindings can call `dropwell --capture region`.
struct Command {
    enum class Action { ShowPopover, Capture, Record, StopRecording };
    Action action = Action::ShowPopover;
    // The capture kind ("region") or what to record ("display", "window").
    QString target;

    // The D-Bus method of the running Dropwell that carries it out.
    QString methodName() const;

    static void addOptions(QCommandLineParser& parser);
    // The command of parsed arguments, or why they make none.
    static StatusOr<Command> read(const QCommandLineParser& parser);
    // What a key of the desktop asks for: the command its command line makes.
    static Command forShortcut(ShortcutCommand command);
};
