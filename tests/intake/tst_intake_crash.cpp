// A Downloads intake killed with SIGKILL while it copies a download to the
// Inbox on another file system: no partial file is ever seen or indexed under
// the download's name, and after a restart the download is taken once, whole.
// Needs root for the second file system.
#include "tests/support/FolderEvents.h"
#include "tests/support/TestSupport.h"

#include <QRandomGenerator>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

constexpr qsizetype downloadBytes = 16 << 20; // copied in 256 writes of 64 KiB, then flushed

int environmentOr(const char* name, int fallback)
{
    bool given = false;
    const int value = qEnvironmentVariableIntValue(name, &given);
    return given ? value : fallback;
}

} // namespace

class IntakeCrashTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void downloadIsTakenOnceAfterACrash();

private:
    // In a child process: turns the intake on, lets a download land and its
    // wait pass, and is killed once the copy into the Inbox has written
    // `writes` times (or lets it end). Returns whether it was killed first.
    static bool intakeKilledAfter(TestWorld& world, const QByteArray& download, int writes);
};

bool IntakeCrashTest::intakeKilledAfter(TestWorld& world, const QByteArray& download, int writes)
{
    FolderEvents copying(world.folders().inbox(), IN_MODIFY);
    const pid_t child = ::fork();
    if (child == 0) {
        auto model = world.makeModel();
        model->start();
        model->setWatchDownloads(true);
        writeFile(world.folders().downloads() + QStringLiteral("/film.mkv"), download);
        world.timers.settle(DirectoryWatcher::defaultQuietPeriod);
        world.timers.advance(DownloadsWatcher::defaultStableWait);
        ::_exit(0); // no destructors: the temporary world belongs to the parent
    }
    for (int seen = 0; seen < writes;) {
        pollfd ready {copying.descriptor(), POLLIN, 0};
        ::poll(&ready, 1, 20);
        seen += int(copying.take().size());
        if (seen < writes && ::waitpid(child, nullptr, WNOHANG) == child)
            return false;
    }
    const bool killed = ::kill(child, SIGKILL) == 0;
    int status = 0;
    ::waitpid(child, &status, 0);
    return killed && WIFSIGNALED(status);
}

void IntakeCrashTest::downloadIsTakenOnceAfterACrash()
{
    const quint32 seed = quint32(environmentOr("DROPWELL_CRASH_SEED", 20261207));
    const int runs = environmentOr("DROPWELL_CRASH_RUNS", 4);
    QRandomGenerator random(seed);
    int killedMidCopy = 0;
    for (int run = 0; run < runs; ++run) {
        TestWorld world;
        QVERIFY(world.folders().ensure().ok());
        QString why;
        const auto downloadsDisk = ScopedMount::mount(world.folders().downloads(), "size=32m", why);
        if (!downloadsDisk)
            QSKIP(qPrintable(why));
        QByteArray download(downloadBytes, Qt::Uninitialized);
        random.fillRange(reinterpret_cast<quint32*>(download.data()), download.size() / 4);

        const int writes = 1 + int(random.bounded(8));
        killedMidCopy += intakeKilledAfter(world, download, writes) ? 1 : 0;
        const QString context = QStringLiteral("run %1 of seed %2, killed after %3 writes").arg(run).arg(seed).arg(writes);
        // Under its own name, only the whole file, if any.
        const QString taken = world.folders().inbox() + QStringLiteral("/film.mkv");
        QVERIFY2(!QFile::exists(taken) || readFile(taken) == download, qPrintable(context));

        // The restarted process reads what the killed one wrote.
        world.defaults = std::make_unique<QSettingsDefaults>(world.path(QStringLiteral("config/Dropwell.conf")));
        auto model = world.makeModel();
        model->start();
        world.timers.advance(DownloadsWatcher::defaultStableWait);
        QVERIFY2(namesIn(world.folders().inbox()) == QStringList(QStringLiteral("film.mkv")), qPrintable(context));
        QVERIFY2(readFile(taken) == download, qPrintable(context));
        QVERIFY2(namesIn(world.folders().downloads()).isEmpty(), qPrintable(context));
        QCOMPARE(model->files().size(), 1);
        QCOMPARE(Persistence(world.support()).loadIndex().value.size(), 1);
    }
    qInfo("%d runs, %d killed in the middle of the copy", runs, killedMidCopy);
    QVERIFY(killedMidCopy > 0);
}

// Skipped as a whole (77) where the test cannot mount a file system of its own.
int main(int argc, char** argv)
{
    if (::geteuid() != 0) {
        std::printf("SKIP: mounting a test file system needs root\n");
        return 77;
    }
    QCoreApplication app(argc, argv);
    IntakeCrashTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_intake_crash.moc"
