// The watcher against a real folder: one signal per burst, only for changes
// of the folder's own entries, and no descriptor left behind.
#include "core/DirectoryWatcher.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <functional>

using namespace std::chrono_literals;

class DirectoryWatcherTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        world = std::make_unique<TestWorld>();
        writeFile(in("existing.txt"));
        QDir().mkpath(in("sub"));
    }

    void cleanup() { world.reset(); }

    void burstGivesOneSignalAfterTheQuietPeriod()
    {
        DirectoryWatcher watcher(folder(), 400ms, world->timers);
        QSignalSpy changed(&watcher, &DirectoryWatcher::changed);
        watcher.start();
        writeFile(in("first.png"));
        QTRY_VERIFY(waitsForQuiet());
        world->timers.advance(399ms);
        QCOMPARE(changed.count(), 0);
        // A later event of the burst pushes the signal back a whole quiet period.
        writeFile(in("second.png"));
        QTRY_COMPARE(world->timers.untilNextTimeout(), std::optional(400ms));
        world->timers.advance(399ms);
        QCOMPARE(changed.count(), 0);
        world->timers.advance(1ms);
        QCOMPARE(changed.count(), 1);
        world->timers.advance(1h);
        QCOMPARE(changed.count(), 1);

        // A stop drops the signal still pending.
        writeFile(in("third.png"));
        QTRY_VERIFY(waitsForQuiet());
        watcher.stop();
        QVERIFY(!watcher.isWatching());
        world->timers.advance(1h);
        QCOMPARE(changed.count(), 1);
    }

    void onlyChangesOfTheFoldersOwnEntriesAreReported()
    {
        DirectoryWatcher watcher(folder(), 20ms, world->timers);
        QSignalSpy changed(&watcher, &DirectoryWatcher::changed);
        watcher.start();
        writeFile(in("sub/deep.txt"));
        writeFile(in("existing.txt"), "new contents");
        QVERIFY(QFile::setPermissions(in("existing.txt"), QFile::ReadOwner));
        // The kernel queued its events before the calls above returned; one turn
        // of the event loop reads them all, as the changes below show.
        QCoreApplication::processEvents();
        QVERIFY(!waitsForQuiet());
        world->timers.advance(1h);
        QCOMPARE(changed.count(), 0);

        const QString outside = world->path(QStringLiteral("outside.txt"));
        writeFile(outside);
        const std::pair<const char*, std::function<bool()>> changes[] {
            {"create", [&] { return QFile(in("control.txt")).open(QIODevice::WriteOnly); }},
            {"rename", [&] { return QFile::rename(in("existing.txt"), in("renamed.txt")); }},
            {"delete", [&] { return QFile::remove(in("renamed.txt")); }},
            {"folder attributes", [&] { return QFile::setPermissions(folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); }},
            {"moved in from outside", [&] { return QFile::rename(outside, in("inside.txt")); }},
        };
        for (const auto& [change, make] : changes) {
            const qsizetype before = changed.count();
            QVERIFY2(make(), change);
            QCoreApplication::processEvents();
            QVERIFY2(waitsForQuiet(), change);
            world->timers.advance(20ms);
            QVERIFY2(changed.count() == before + 1, change);
        }
    }

    void noDescriptorIsLeakedAndAMissingFolderIsInert()
    {
        const auto openDescriptors = [] { return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size(); };
        const qsizetype before = openDescriptors();
        {
            DirectoryWatcher watcher(folder(), 20ms, world->timers);
            watcher.start();
            watcher.start(); // a restart replaces, it does not add
            QCOMPARE(openDescriptors(), before + 1);
            watcher.stop();
            QCOMPARE(openDescriptors(), before);
            watcher.start();
        }
        QCOMPARE(openDescriptors(), before);
        {
            // The folder goes away while watched.
            DirectoryWatcher watcher(folder(), 20ms, world->timers);
            QSignalSpy changed(&watcher, &DirectoryWatcher::changed);
            watcher.start();
            QVERIFY(QDir(folder()).removeRecursively());
            QTRY_VERIFY(waitsForQuiet());
            world->timers.advance(20ms);
            QCOMPARE(changed.count(), 1);
        }
        DirectoryWatcher missing(folder(), 20ms, world->timers);
        missing.start();
        QVERIFY(!missing.isWatching());
    }

private:
    QString folder() const { return world->path(QStringLiteral("watched")); }
    QString in(const QString& name) const { return folder() + QLatin1Char('/') + name; }
    QString in(const char* name) const { return in(QString::fromUtf8(name)); }
    // The watcher has taken in a change and waits for quiet.
    bool waitsForQuiet() const { return world->timers.runningCount() == 1; }
    std::unique_ptr<TestWorld> world;
};

QTEST_GUILESS_MAIN(DirectoryWatcherTest)
#include "tst_directory_watcher.moc"
