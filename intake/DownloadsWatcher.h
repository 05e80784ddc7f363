#pragma once

#include "core/DirectoryWatcher.h"
#include "core/Timers.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <chrono>
#include <map>
#include <memory>
#include <optional>

class DefaultsStore;

// Finds new, finished files in one folder and hands them over: the user's
// Downloads folder, and the folder a screenshot tool writes to when it has no
// setting for it. Files that were there when watching began are never taken;
// a new file is taken once it has been unchanged, and not being written, for
// the stability wait: each file waits for its own, however busy the folder.
class DownloadsWatcher : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds defaultStableWait {std::chrono::seconds(20)};

    DownloadsWatcher(QString folder, std::chrono::milliseconds stableWait, Timers& timers,
        std::chrono::milliseconds quietPeriod = DirectoryWatcher::defaultQuietPeriod, QObject* parent = nullptr);
    ~DownloadsWatcher() override;

    const QString& folder() const { return folder_; }

    // Where the watcher keeps the moment up to which it has dealt with every
    // file in the folder, across restarts of the program: a later first
    // start counts files changed since then as new, so that none waiting
    // when the program ended is left behind.
    void rememberIn(DefaultsStore& store, QString key);

    // Begins watching and scans once. The first start takes the folder's
    // contents as already there, but for what changed after the remembered
    // moment.
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
    // Finished files that became stable together; the receiver moves them
    // away (or not) before returning.
    void stableFiles(const QStringList& paths);

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
    // What a file was when its wait began; any change begins it again.
    struct State {
        qint64 size = 0;
        qint64 changed = 0;
        bool operator==(const State&) const = default;
    };
    struct Pending {
        State state;
        quint64 check = 0; // the files that began their wait together share one check
    };

    // What the watcher has dealt with, kept across restarts: every file
    // changed before `moment`, and the files listed with a change time at or
    // after it, since one tick of the file system's clock holds changes from
    // before and after the moment alike.
    struct Seen {
        qint64 moment = 0;
        QStringList late; // "<change time> <name>"
        bool covers(const QString& name, qint64 changed) const;
    };
    static QString lateEntry(const QString& name, qint64 changed);
    // The folder's entries; `seen` becomes what this listing covers.
    QStringList list(Seen& seen) const;
    std::optional<Seen> remembered() const;
    void remember(const Seen& seen);

    void takeSnapshot(const std::optional<Seen>& before);
    void scan();
    bool shouldIgnore(const QString& path) const;
    bool isBusy(const QString& path) const;
    static State stateOf(const QString& path);
    void scheduleCheck(const QStringList& paths);
    void check(quint64 id);

    QString folder_;
    std::chrono::milliseconds stableWait_;
    Timers& timers_;
    std::chrono::milliseconds quietPeriod_;
    std::unique_ptr<DirectoryWatcher> watcher_;
    QSet<QString> known_;
    bool snapshotTaken_ = false;
    std::map<QString, Pending> pending_;
    std::map<quint64, std::unique_ptr<OneShotTimer, LaterDeleter>> checks_;
    quint64 lastCheck_ = 0;
    Seen scanned_; // what the last scan listed

    DefaultsStore* store_ = nullptr;
    QString key_;
};
