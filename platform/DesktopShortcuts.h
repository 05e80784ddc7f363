#pragma once

#include "platform/Status.h"

#include <QKeyCombination>
#include <QString>
#include <QStringList>

#include <optional>

// Dropwell's own commands that a key of the desktop can run.
enum class ShortcutCommand { CaptureRegion, CaptureWindow, CaptureVisible, CapturePage, RecordDisplay };

inline constexpr ShortcutCommand shortcutCommands[] = {ShortcutCommand::CaptureRegion, ShortcutCommand::CaptureWindow,
    ShortcutCommand::CaptureVisible, ShortcutCommand::CapturePage, ShortcutCommand::RecordDisplay};

// Short, stable name of the command ("region").
QString shortcutId(ShortcutCommand command);
// What the user reads for it ("Capture a region"), translated.
QString shortcutLabel(ShortcutCommand command);
// The options of `dropwell` that run it ("--capture", "region").
QStringList shortcutArguments(ShortcutCommand command);
// The command line a desktop's key runs for it, quoted the way a POSIX shell
// splits words, as the desktops read it.
QString shortcutCommandLine(const QString& program, ShortcutCommand command);

// The keys the desktop itself listens for, in the place where it keeps them,
// each running one of Dropwell's commands. A key taken from something else of
// the desktop is remembered and given back when it is cleared.
class DesktopShortcuts {
public:
    virtual ~DesktopShortcuts() = default;

    // Where the keys are kept, as a sentence for the user.
    virtual QString whereKept() const = 0;
    // The key that runs the command now, nothing when none does; a failure
    // when the store cannot be read.
    virtual StatusOr<std::optional<QKeyCombination>> key(ShortcutCommand command) const = 0;
    virtual Status set(ShortcutCommand command, QKeyCombination key) = 0;
    virtual Status clear(ShortcutCommand command) = 0;
};
