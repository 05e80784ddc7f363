#pragma once

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QUuid>

// When to try again an operation on a file that failed: a minute after the
// first failure, twice as long after each further one, at most an hour
// apart. A failing move across file systems may copy the whole file each
// time; the periodic pass must not do that every minute forever.
class RetryBackoff {
public:
    static constexpr qint64 firstWaitSeconds = 60;
    static constexpr qint64 longestWaitSeconds = 3600;

    bool mayTry(const QUuid& id, const QDateTime& now) const;
    void failed(const QUuid& id, const QDateTime& now);
    void succeeded(const QUuid& id) { waits_.remove(id); }
    // Files that left meanwhile (kept, deleted, moved by hand) are not
    // remembered for ever.
    void forgetAllBut(const QSet<QUuid>& ids)
    {
        waits_.removeIf([&](const auto& wait) { return !ids.contains(wait.key()); });
    }
    bool isEmpty() const { return waits_.isEmpty(); }

private:
    struct Wait {
        QDateTime next;
        qint64 seconds = 0;
    };
    QHash<QUuid, Wait> waits_;
};
