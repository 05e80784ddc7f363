#pragma once

#include "core/DirectoryWatcher.h"
#include "core/FolderService.h"
#include "core/Persistence.h"
#include "intake/DownloadsWatcher.h"
#include "intake/ScreenshotSource.h"

#include <QTimeZone>

#include <chrono>

class Clipboard;
class Clock;
class DefaultsStore;
class FileManager;
class FileOpener;
class Notifier;
class Previewer;
class Timers;
class Trash;

// Everything the model works with that is not its own state: where its files
// are, what "now" is, and the platform's services. app/ hands in the real
// ones; tests hand in temporary folders, a clock they move and fakes. The
// services are not owned and must outlive the model.
struct ModelServices {
    Persistence persistence;
    FolderService folders;
    const Clock* clock = nullptr;
    Timers* timers = nullptr;
    Trash* trash = nullptr;
    Notifier* notifier = nullptr;
    Clipboard* clipboard = nullptr;
    FileManager* fileManager = nullptr;
    Previewer* previewer = nullptr;
    FileOpener* opener = nullptr; // none: files are not opened in other programs
    DefaultsStore* defaults = nullptr;
    ScreenshotSource screenshots;
    QTimeZone timeZone = QTimeZone::systemTimeZone();
    std::chrono::milliseconds expiryPassPeriod {std::chrono::seconds(60)};
    std::chrono::milliseconds inboxQuietPeriod {DirectoryWatcher::defaultQuietPeriod};
    std::chrono::milliseconds downloadsStableWait {DownloadsWatcher::defaultStableWait};
    // GNOME Shell writes its screenshots whole: a short wait is enough.
    std::chrono::milliseconds shellPullStableWait {std::chrono::seconds(1)};
};
