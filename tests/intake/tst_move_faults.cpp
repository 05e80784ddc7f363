// Moves that the disk refuses, on file systems of the test's own: the user
// is told, the file stays where it was, nothing is left half-copied and the
// index on disk still says where every file is. And a Downloads intake killed
// with SIGKILL while it copies to another file system: no partial file is
// ever seen under the download's name, and after a restart the download is
// taken once, whole. Needs root for its mounts.
#include "tests/support/CrashChild.h"
#include "tests/support/StartedModel.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <cstdio>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

enum class Fault { ReadOnlyTarget, TargetRemoved, FolderInPlaceOfTheFile, SourceCannotGo, SourceBusy };

const QByteArray contents(256 * 1024, 'c'); // more than a full disk of 64 KiB holds
constexpr qsizetype downloadBytes = 16 << 20; // copied in 256 writes of 64 KiB, then flushed

} // namespace

class MoveFaultsTest : public QObject, StartedModel {
    Q_OBJECT
private:
    QString target() const { return world->path(QStringLiteral("other disk/folder")); }

private Q_SLOTS:
    void init() { begin(); }
    void cleanup() { end(); }

    void refusedMoveKeepsEverything_data()
    {
        QTest::addColumn<Fault>("fault");
        QTest::addRow("read-only target") << Fault::ReadOnlyTarget;
        QTest::addRow("target folder removed, cannot be made again") << Fault::TargetRemoved;
        QTest::addRow("folder in place of the file, same disk") << Fault::FolderInPlaceOfTheFile;
        QTest::addRow("source cannot go, other disk") << Fault::SourceCannotGo;
        QTest::addRow("source busy: rename gives EBUSY, same disk") << Fault::SourceBusy;
    }

    void refusedMoveKeepsEverything()
    {
        QFETCH(Fault, fault);
        const bool otherDisk = fault != Fault::FolderInPlaceOfTheFile && fault != Fault::SourceBusy;
        QString why;
        const TrackedFile file = landFile(*world, *model, QStringLiteral("film.bin"), contents);
        auto mounted = otherDisk ? ScopedMount::mount(world->path(QStringLiteral("other disk")), "size=1m", why) : nullptr;
        if (otherDisk && !mounted)
            QSKIP(qPrintable(why));
        QVERIFY(QDir().mkpath(target()));
        std::unique_ptr<ScopedMount> readOnlyInbox;
        std::optional<FolderEvents> created;
        switch (fault) {
        case Fault::TargetRemoved:
            QVERIFY(QDir(target()).removeRecursively());
            [[fallthrough]];
        case Fault::ReadOnlyTarget:
            QVERIFY2(mounted->makeReadOnly(why), qPrintable(why));
            break;
        case Fault::FolderInPlaceOfTheFile:
            QVERIFY(QFile::remove(file.path));
            QVERIFY(QDir().mkdir(file.path));
            writeFile(file.path + QStringLiteral("/inside.txt"));
            break;
        case Fault::SourceCannotGo:
        case Fault::SourceBusy: // a mount point cannot be renamed
            readOnlyInbox = ScopedMount::bindReadOnly(fault == Fault::SourceBusy ? file.path : inbox(), why);
            QVERIFY2(readOnlyInbox, qPrintable(why));
            if (fault == Fault::SourceCannotGo)
                created.emplace(target(), IN_CREATE);
            break;
        }
        const QStringList inboxBefore = QDir(inbox()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        const TrackedFiles indexBefore = Persistence(world->support()).loadIndex().value;

        model->move({file}, target());

        QCOMPARE(model->toast(), QStringLiteral("Could not move 'film.bin'."));
        QCOMPARE(QDir(inbox()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), inboxBefore);
        if (fault != Fault::FolderInPlaceOfTheFile)
            QCOMPARE(readFile(file.path), contents);
        QCOMPARE(namesIn(target()), QStringList());
        QCOMPARE(Persistence(world->support()).loadIndex().value, indexBefore);
        QCOMPARE(model->files().front().path, file.path);
        if (created) // found out before a byte was copied
            QCOMPARE(created->take(), QStringList());
    }

    void failedExpiryMovesWaitLongerEachTime()
    {
        QString why;
        auto disk = ScopedMount::mount(world->folders().expired(), "size=64k", why);
        if (!disk)
            QSKIP(qPrintable(why));
        model->expiry().setOtherExpiryDays(1);
        landFile(*world, *model, QStringLiteral("film.bin"), contents);
        FolderEvents copies(world->folders().expired(), IN_CREATE);
        // The pass runs every minute; the copies it starts into the full disk are
        // a minute apart, then two, four... and at most an hour.
        world->timers.advance(24h + 2h);
        QCOMPARE(copies.take().size(), 7); // after 0, 1, 3, 7, 15, 31 and 63 minutes
        QCOMPARE(namesIn(world->folders().expired()), QStringList());
        QCOMPARE(model->inboxCount(), 1);

        disk.reset(); // room again: the next try, 123 minutes in, succeeds
        world->timers.advance(2min);
        QCOMPARE(model->inboxCount(), 1);
        world->timers.advance(1min);
        QCOMPARE(model->expiredItems().size(), 1);
        QCOMPARE(readFile(model->expiredItems().front().path), contents);
    }

    void downloadIsTakenOnceAfterACrash()
    {
        const auto [seed, runs] = CrashRuns::fromEnvironment(4);
        QRandomGenerator random(seed);
        int killedMidCopy = 0;
        for (int run = 0; run < runs; ++run) {
            model.reset();
            world = std::make_unique<TestWorld>();
            QVERIFY(world->folders().ensure().ok());
            QString why;
            const auto downloadsDisk = ScopedMount::mount(world->folders().downloads(), "size=32m", why);
            if (!downloadsDisk)
                QSKIP(qPrintable(why));
            QByteArray download(downloadBytes, Qt::Uninitialized);
            random.fillRange(reinterpret_cast<quint32*>(download.data()), download.size() / 4);

            // A child turns the intake on, lets the download land and its wait
            // pass, and is killed once the copy into the Inbox has written
            // `writes` times, or ends.
            const int writes = 1 + int(random.bounded(8));
            FolderEvents copying(inbox(), IN_MODIFY);
            killedMidCopy += killedAfter(copying, writes, [&] {
                const auto running = world->makeModel();
                running->start();
                running->downloads().setWatching(true);
                writeFile(world->folders().downloads() + QStringLiteral("/film.mkv"), download);
                world->timers.settle(DirectoryWatcher::defaultQuietPeriod);
                world->timers.advance(DownloadsWatcher::defaultStableWait);
            }) ? 1 : 0;
            const QString context = QStringLiteral("run %1 of seed %2, killed after %3 writes").arg(run).arg(seed).arg(writes);
            // Under its own name, only the whole file, if any.
            const QString taken = inbox() + QStringLiteral("/film.mkv");
            QVERIFY2(!QFile::exists(taken) || readFile(taken) == download, qPrintable(context));

            // The restarted process reads what the killed one wrote.
            world->defaults = std::make_unique<QSettingsDefaults>(world->path(QStringLiteral("config/Dropwell.conf")));
            model = world->makeModel();
            model->start();
            world->timers.advance(DownloadsWatcher::defaultStableWait);
            QVERIFY2(namesIn(inbox()) == QStringList(QStringLiteral("film.mkv")), qPrintable(context));
            QVERIFY2(readFile(taken) == download, qPrintable(context));
            QVERIFY2(namesIn(world->folders().downloads()).isEmpty(), qPrintable(context));
            QCOMPARE(model->files().size(), 1);
        }
        qInfo("%d runs, %d killed in the middle of the copy", runs, killedMidCopy);
        QVERIFY(killedMidCopy > 0);
    }
};

// Skipped as a whole (77) where the test cannot mount file systems of its own.
int main(int argc, char** argv)
{
    if (::geteuid() != 0) {
        std::printf("SKIP: mounting a test file system needs root\n");
        return 77;
    }
    QCoreApplication app(argc, argv);
    MoveFaultsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_move_faults.moc"
