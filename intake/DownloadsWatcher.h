#pragma once

#include "core/DirectoryWatcher.h"
#include "core/Timers.h"

#include <QObject>
#include <QSet>
#include <QString>

#include <chrono>
#include <map>
#include <memory>

// Finds new, finished files in one folder and hands them over: the user's
// Downloads folder, and the folder a screenshot tool writes to when it has no
// setting for it. Files that were there when watching began are never taken;
// a new file is taken once the folder has been still, and the file unchanged
// and not being written, for the stability wait.
class DownloadsWatcher : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds defaultStableWait {std::chrono::seconds(20)};

    DownloadsWatcher(QString folder, std::chrono::milliseconds stableWait, Timers& timers,
        std::chrono::milliseconds quietPeriod = DirectoryWatcher::defaultQuietPeriod, QObject* parent = nullptr);
    ~DownloadsWatcher() override;

    const QString& folder() const { return folder_; }

    // Begins watching and scans once. The first start takes the folder's
    // contents as already there.
    void start();
    // Stops watching and drops every waiting file.
    void stop();
    bool isWatching() const { return watcher_ != nullptr; }

    // Everything in the folder now counts as already there.
    void takeSnapshot();
    // A file Dropwell itself put into the folder is not taken back.
    void markKnown(const QString& path);
    // Files waiting for their stability check.
    int waitingCount() const { return int(pending_.size()); }

    // Names never taken: unfinished downloads, lock files, folders, links.
    static bool isIgnoredName(const QString& name);

Q_SIGNALS:
    // A finished file; the receiver moves it away (or not) before returning.
    void stableFile(const QString& path);

private:
    // A check may be replaced or dropped from inside its own timeout: the
    // timer then goes only once control is back in the event loop.
    struct LaterDeleter {
        void operator()(OneShotTimer* timer) const
        {
            timer->cancel();
            timer->deleteLater();
        }
    };
    struct Pending {
        qint64 size = 0;
        std::unique_ptr<OneShotTimer, LaterDeleter> check;
    };

    QSet<QString> currentNames() const;
    void scan();
    bool shouldIgnore(const QString& path) const;
    bool isBusy(const QString& path) const;
    void scheduleCheck(const QString& path);
    void finalizeIfStable(const QString& path, qint64 expectedSize);

    QString folder_;
    std::chrono::milliseconds stableWait_;
    Timers& timers_;
    std::chrono::milliseconds quietPeriod_;
    std::unique_ptr<DirectoryWatcher> watcher_;
    QSet<QString> known_;
    bool snapshotTaken_ = false;
    std::map<QString, Pending> pending_;
};
