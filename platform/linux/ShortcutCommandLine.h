#pragma once

#include "platform/DesktopShortcuts.h"

#include <optional>

// The Dropwell command a desktop's command line runs, whichever `dropwell`
// it names: one bound by hand, or from an earlier place of the program, is
// Dropwell's too.
std::optional<ShortcutCommand> shortcutCommandRunBy(const QString& line);
