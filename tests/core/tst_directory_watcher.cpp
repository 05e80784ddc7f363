// The watcher against a real folder: one signal per burst, only for changes
// of the folder's own entries, and no descriptor left behind.
#include "core/DirectoryWatcher.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
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
    void entryChangesAreReported_data();
    void entryChangesAreReported();
    void changesBelowOrInsideFilesAreNot();
    void stopDropsThePendingSignal();
    void missingFolderIsInert();
    void noDescriptorIsLeaked();

private:
    QString folder() const { return world->path(QStringLiteral("watched")); }
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
    DirectoryWatcher watcher(folder(), 400ms);
    QSignalSpy changed(&watcher, &DirectoryWatcher::changed);
    watcher.start();
    QElapsedTimer clock;
    clock.start();
    qint64 lastEvent = 0;
    for (int i = 0; i < 10; ++i) {
        QTest::qWait(30);
        writeFile(folder() + QStringLiteral("/file %1.png").arg(i));
        lastEvent = clock.elapsed();
    }
    QVERIFY(changed.wait(2000));
    QVERIFY(clock.elapsed() - lastEvent >= 395);
    QTest::qWait(600);
    QCOMPARE(changed.count(), 1);
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
    DirectoryWatcher watcher(folder(), 20ms);
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
    QVERIFY(changed.wait(1000));
}

void DirectoryWatcherTest::changesBelowOrInsideFilesAreNot()
{
    DirectoryWatcher watcher(folder(), 20ms);
    QSignalSpy changed(&watcher, &DirectoryWatcher::changed);
    watcher.start();
    writeFile(folder() + QStringLiteral("/sub/deep.txt"));
    writeFile(folder() + QStringLiteral("/existing.txt"), "new contents");
    QVERIFY(QFile::setPermissions(folder() + QStringLiteral("/existing.txt"), QFile::ReadOwner));
    QTest::qWait(200);
    QCOMPARE(changed.count(), 0);
}

void DirectoryWatcherTest::stopDropsThePendingSignal()
{
    DirectoryWatcher watcher(folder(), 100ms);
    QSignalSpy changed(&watcher, &DirectoryWatcher::changed);
    watcher.start();
    writeFile(folder() + QStringLiteral("/new.txt"));
    QTest::qWait(30); // the event is in, its signal pending
    watcher.stop();
    QTest::qWait(250);
    QCOMPARE(changed.count(), 0);
    QVERIFY(!watcher.isWatching());
}

void DirectoryWatcherTest::missingFolderIsInert()
{
    DirectoryWatcher watcher(world->path(QStringLiteral("nowhere")), 20ms);
    QSignalSpy changed(&watcher, &DirectoryWatcher::changed);
    watcher.start();
    QVERIFY(!watcher.isWatching());
    QDir().mkpath(world->path(QStringLiteral("nowhere")));
    writeFile(world->path(QStringLiteral("nowhere/x.txt")));
    QTest::qWait(100);
    QCOMPARE(changed.count(), 0);
}

void DirectoryWatcherTest::noDescriptorIsLeaked()
{
    const int before = openDescriptors();
    {
        DirectoryWatcher watcher(folder(), 20ms);
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
        DirectoryWatcher watcher(folder(), 20ms);
        QSignalSpy changed(&watcher, &DirectoryWatcher::changed);
        watcher.start();
        QVERIFY(QDir(folder()).removeRecursively());
        QVERIFY(changed.wait(1000));
    }
    QCOMPARE(openDescriptors(), before);
}

QTEST_GUILESS_MAIN(DirectoryWatcherTest)
#include "tst_directory_watcher.moc"
