#pragma once

#include "core/Timers.h"
#include "platform/DirectoryEvents.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

// Turns activity in one folder into one quiet signal: changed() comes once,
// a quiet period after the last event of a burst, but no later than
// `longestDelay` quiet periods after its first, so that a folder that never
// falls quiet is still looked at. It never looks at what changed; the owner
// rescans. A folder that cannot be watched leaves the watcher inert, without
// error.
class DirectoryWatcher : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds defaultQuietPeriod {400};
    static constexpr int longestDelay = 8;

    DirectoryWatcher(QString folder, std::chrono::milliseconds quietPeriod, Timers& timers, QObject* parent = nullptr);

    const QString& folder() const { return folder_; }
    void start();
    // Safe when not watching; a pending signal is dropped.
    void stop();
    bool isWatching() const { return events_.isActive(); }

Q_SIGNALS:
    void changed();

private:
    QString folder_;
    DirectoryEvents events_;
    std::chrono::milliseconds quietPeriod_;
    std::unique_ptr<OneShotTimer> quiet_;
    int pushedBack_ = 0; // times the running burst has pushed the signal back
};
