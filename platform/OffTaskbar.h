#pragma once

class QWindow;

// Windows that belong to the tray icon, not to a task: the desktop's task
// list and pager leave them out.
namespace OffTaskbar {

// Leaves the window out (`off`) or lists it again. Call while the window is
// made or shown, before it reaches the screen; does nothing where the
// desktop has no such hint.
void apply(QWindow& window, bool off = true);

} // namespace OffTaskbar
