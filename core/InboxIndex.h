#pragma once

#include "core/DirectoryWatcher.h"
#include "core/FolderService.h"
#include "core/TrackedFile.h"
#include "platform/ScreenshotNaming.h"

#include <QDateTime>
#include <QObject>

#include <chrono>
#include <memory>
#include <optional>

// Keeps the index in step with what is really in the Inbox and Expired
// folders: matches each file found to its record (by path, then by name),
// creates records for new files and retires records whose files are gone.
// It holds no records of its own; it changes the list it is given.
class InboxIndex : public QObject {
    Q_OBJECT
public:
    explicit InboxIndex(QObject* parent = nullptr);

    // Watches the Inbox, replacing an earlier watcher; changed() follows each
    // burst of changes after the quiet period.
    void startWatching(const QString& inbox, std::chrono::milliseconds quietPeriod, Timers& timers);
    const DirectoryWatcher* watcher() const { return watcher_.get(); }

    // A new file in the Inbox that `savedByTools` names, or whose own name
    // says so, is a screenshot.
    static void reconcile(TrackedFiles& files, const QString& inbox, const std::optional<QString>& expired,
        const QDateTime& now, const ScreenshotNames& savedByTools = {});
    // Keeps only records whose path lies directly in Inbox, Kept or Expired:
    // an edited or stale index must not make Dropwell list, expire or trash a
    // file elsewhere. A record from the managed folders of an earlier home is
    // moved to the same folder here; a kept record stays where Keep sent it.
    // Returns how many records were dropped.
    static qsizetype confine(TrackedFiles& files, const FolderService& folders);
    // The Expired half of reconcile().
    static void absorbExpired(TrackedFiles& files, const QString& expired, const QDateTime& now);
    // Records for files in Kept that have none: kept by a Dropwell that died
    // before it saved, or put there by hand. Kept files are never listed
    // again after that, so this runs once, at the start.
    static void absorbKept(TrackedFiles& files, const QString& kept, const QDateTime& now);

Q_SIGNALS:
    void changed();

private:
    std::unique_ptr<DirectoryWatcher> watcher_;
};
