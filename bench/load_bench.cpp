// A flood, printed for a person to read: 10,000 files dropped into the Inbox
// of a running model at once, and an expiry pass over a 20,000-file Expired
// that is due for the Trash. For each: how long it took, the longest the
// event loop (the popover's thread) was held, files lost, and the resident
// memory afterwards. "--smoke" uses a tenth of the files, for CI.
#include "core/Persistence.h"
#include "platform/FileSystem.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QTimer>

#include <cstdio>

namespace {

// The longest gap between beats of a 2 ms timer: how long the event loop was
// not free to paint or take a click.
class LoopStalls {
public:
    LoopStalls()
    {
        beat_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&beat_, &QTimer::timeout, [this] {
            longest_ = std::max(longest_, since_.restart());
        });
        since_.start();
        beat_.start(2);
    }
    qint64 longestMs() const { return longest_; }

private:
    QTimer beat_;
    QElapsedTimer since_;
    qint64 longest_ = 0;
};

double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toDouble() / 1024;
    return 0;
}

// Files on disk in `folder` that the index on disk does not list.
qsizetype unlisted(const TestWorld& world, const QString& folder)
{
    QSet<QString> listed;
    for (const TrackedFile& file : Persistence(world.support()).loadIndex().value)
        listed.insert(file.path);
    qsizetype missing = 0;
    for (const FileSystem::Entry& entry : FileSystem::listRegularFiles(folder))
        missing += listed.contains(entry.path) ? 0 : 1;
    return missing;
}

void dropIntoInbox(int count)
{
    TestWorld world;
    ModelServices services = world.services();
    services.inboxQuietPeriod = DirectoryWatcher::defaultQuietPeriod;
    SystemTimers timers; // the real waits are part of what is measured
    services.timers = &timers;
    AppModel model(services);
    model.start();
    const QString inbox = world.folders().inbox();
    for (int i = 0; i < count; ++i)
        QFile(inbox + QStringLiteral("/dropped %1.txt").arg(i)).open(QIODevice::WriteOnly);

    LoopStalls stalls;
    QElapsedTimer timer;
    timer.start();
    while (model.files().size() < count && timer.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    const double took = double(timer.elapsed());
    std::printf("%d files dropped into the Inbox at once: all indexed after %.0f ms, event loop held at most %lld ms, "
                "%lld not in index.json, %.1f MB resident\n",
        count, took, qlonglong(stalls.longestMs()), qlonglong(unlisted(world, inbox)), residentMb());
}

void trashExpired(int count)
{
    TestWorld world;
    const QString expired = world.folders().expired();
    const QDateTime now = world.clock.now();
    TrackedFiles files;
    for (int i = 0; i < count; ++i) {
        const QString path = expired + QStringLiteral("/old %1.txt").arg(i);
        writeFile(path);
        TrackedFile file = recordAt(path, FileFolder::Expired, now.addDays(-10));
        file.expiredAt = now.addDays(-2);
        files.append(file);
    }
    Persistence(world.support()).saveIndex(files);
    ModelServices services = world.services();
    SystemTimers timers; // the pass's slices follow one another on the event loop
    services.timers = &timers;
    AppModel model(services);

    // The start reads the index and runs the pass's first slice; the rest
    // follows slice by slice.
    QElapsedTimer timer;
    timer.start();
    model.start();
    const qint64 start = timer.elapsed();
    LoopStalls stalls;
    while (!model.files().isEmpty() && timer.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    const qsizetype trashed = namesIn(world.trashFiles()).size();
    std::printf("an Expired of %d files due for the Trash: all trashed after %lld ms, the start held the event loop "
                "%lld ms and each slice after it at most %lld ms, %lld lost, %.1f MB resident\n",
        count, qlonglong(timer.elapsed()), qlonglong(start), qlonglong(stalls.longestMs()),
        qlonglong(count - trashed - namesIn(expired).size()), residentMb());
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const bool smoke = argc > 1 && qstrcmp(argv[1], "--smoke") == 0;
    dropIntoInbox(smoke ? 1000 : 10000);
    trashExpired(smoke ? 2000 : 20000);
    return 0;
}
