// The watcher against a real folder: one signal per burst, only for changes
// of the folder's own entries, and no descriptor left behind.
#include "core/DirectoryWatcher.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;

namespace {

int openDescriptors() { return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size()); }

} // namespace

class DirectoryWatcherTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void burstGivesOneSignalAfterTheQuietPeriod();
    void endlessBurstIsReportedAtTheLongestDelay();
    void entryChangesAreReported_data();
    void entryChangesAreReported();
    void changesBelowOrInsideFilesAreNot();
    void stopDropsThePendingSignal();
    void missingFolderIsInert();
    void noDescriptorIsLeaked();

private:
    QString folder() const { return world->path(QStringLiteral("watched")); }
    // The watcher has taken in a change and waits for quiet.
    bool waitsForQuiet() const { return world->timers.runningCount() == 1; }
    std::unique_ptr<TestWorld> world;
};

void DirectoryWatcherTest::init()
{
    world = std::make_unique<TestWorld>();
    writeFile(folder() + QStringLiteral("/existing.txt"));
    QDir().mkpath(folder() + QStringLiteral("/sub"));
}

void DirectoryWatcherTest::cleanup() { world.reset(); }

void DirectoryWatcherTest::burstGivesOneSignalAfterTheQuietPeriod()
{
    DirectoryWatcher watcher(folder(), 400ms, world->timers);
    QSignalSpy changed(&watcher, &DirectoryWatcher::changed);
    watcher.start();
    writeFile(folder() + QStringLiteral("/first.png"));
    QTRY_VERIFY(waitsForQuiet());
    world->timers.advance(399ms);
    QCOMPARE(changed.count(), 0);
    // A later event of the burst pushes the signal back a whole quiet period.
    writeFile(folder() + QStringLiteral("/second.png"));
    QTRY_COMPARE(world->timers.untilNextTimeout(), std::optional(400ms));
    world->timers.advance(399ms);
    QCOMPARE(changed.count(), 0);
    world->timers.advance(1ms);
    QCOMPARE(changed.count(), 1);
    world->timers.advance(1h);
    QCOMPARE(changed.count(), 1);
}

void DirectoryWatcherTest::endlessBurstIsReportedAtTheLongestDelay()
{
    DirectoryWatcher watcher(folder(), 400ms, world->timers);
    QSignalSpy changed(&watcher, &DirectoryWatcher::changed);
    watcher.start();
    for (int i = 0; i * 60ms < 400ms * DirectoryWatcher::longestDelay; ++i) {
        writeFile(folder() + QStringLiteral("/%1.bin").arg(i));
        QCoreApplication::processEvents(); // the kernel queued the event with the write
        world->timers.advance(60ms);
    }
    QVERIFY(changed.count() > 0);
}

void DirectoryWatcherTest::entryChangesAreReported_data()
{
    QTest::addColumn<int>("change");
    QTest::addRow("rename") << 0;
    QTest::addRow("delete") << 1;
    QTest::addRow("folder attributes") << 2;
    QTest::addRow("moved in from outside") << 3;
}

void DirectoryWatcherTest::entryChangesAreReported()
{
    QFETCH(int, change);
    DirectoryWatcher watcher(folder(), 20ms, world->timers);
    QSignalSpy changed(&watcher, &DirectoryWatcher::changed);
    watcher.start();
    const QString existing = folder() + QStringLiteral("/existing.txt");
    switch (change) {
    case 0:
        QVERIFY(QFile::rename(existing, folder() + QStringLiteral("/renamed.txt")));
        break;
    case 1:
        QVERIFY(QFile::remove(existing));
        break;
    case 2:
        QVERIFY(QFile::setPermissions(folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        break;
    default:
        writeFile(world->path(QStringLiteral("outside.txt")));
        QVERIFY(QFile::rename(world->path(QStringLiteral("outside.txt")), folder() + QStringLiteral("/inside.txt")));
    }
    QTRY_VERIFY(waitsForQuiet());
    world->timers.advance(20ms);
    QCOMPARE(changed.count(), 1);
}

void DirectoryWatcherTest::changesBelowOrInsideFilesAreNot()
{
    DirectoryWatcher watcher(folder(), 20ms, world->timers);
    QSignalSpy changed(&watcher, &DirectoryWatcher::changed);
    watcher.start();
    writeFile(folder() + QStringLiteral("/sub/deep.txt"));
    writeFile(folder() + QStringLiteral("/existing.txt"), "new contents");
    QVERIFY(QFile::setPermissions(folder() + QStringLiteral("/existing.txt"), QFile::ReadOwner));
    // The kernel queued its events before the calls above returned; one turn
    // of the event loop reads them all, as the control below shows.
    QCoreApplication::processEvents();
    QVERIFY(!waitsForQuiet());
    world->timers.advance(1h);
    QCOMPARE(changed.count(), 0);

    writeFile(folder() + QStringLiteral("/control.txt"));
    QCoreApplication::processEvents();
    QVERIFY(waitsForQuiet());
}

void DirectoryWatcherTest::stopDropsThePendingSignal()
{
    DirectoryWatcher watcher(folder(), 100ms, world->timers);
    QSignalSpy changed(&watcher, &DirectoryWatcher::changed);
    watcher.start();
    writeFile(folder() + QStringLiteral("/new.txt"));
    QTRY_VERIFY(waitsForQuiet());
    watcher.stop();
    QVERIFY(!watcher.isWatching());
    world->timers.advance(1h);
    QCOMPARE(changed.count(), 0);
}

void DirectoryWatcherTest::missingFolderIsInert()
{
    DirectoryWatcher watcher(world->path(QStringLiteral("nowhere")), 20ms, world->timers);
    watcher.start();
    QVERIFY(!watcher.isWatching());
}

void DirectoryWatcherTest::noDescriptorIsLeaked()
{
    const int before = openDescriptors();
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
    QCOMPARE(openDescriptors(), before);
}

QTEST_GUILESS_MAIN(DirectoryWatcherTest)
#include "tst_directory_watcher.moc"
