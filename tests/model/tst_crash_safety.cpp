// Dropwell killed with SIGKILL at random moments while it ingests, keeps,
// moves, renames, takes downloads and expires: after the kill and after a
// restart every file is on disk exactly once, unchanged, and the restarted
// index lists every file Dropwell holds, Kept ones included. A file an
// interrupted expiry pass moved still gets its full day in Expired.
#include "tests/support/CrashChild.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QTest>

namespace {

using namespace std::chrono_literals;

QString elsewhere(const TestWorld& world) { return world.path(QStringLiteral("home/Projects")); }

// Every folder a file can be in, first Dropwell's own three.
QStringList places(const TestWorld& world)
{
    const FolderService folders = world.folders();
    return {folders.inbox(), folders.kept(), folders.expired(), elsewhere(world), world.trashFiles(), folders.downloads()};
}

// Each file's contents are its first name, so a renamed or moved file is still
// known. Problems are listed with the contents they are about; given a
// restarted model, also where its records and the files in its folders do not
// match one to one.
QString problems(const TestWorld& world, const QStringList& mustExist, const QStringList& mayExist,
    const AppModel* restarted = nullptr)
{
    QHash<QByteArray, QStringList> found;
    for (const QString& folder : places(world))
        for (const QString& name : namesIn(folder)) {
            if (!name.endsWith(QStringLiteral(".part"))) // the browser's, killed with the workload
                found[readFile(folder + QLatin1Char('/') + name)].append(folder + QLatin1Char('/') + name);
        }
    QStringList problems;
    for (auto it = found.cbegin(); it != found.cend(); ++it) {
        const QString contents = QString::fromUtf8(it.key());
        if (!mustExist.contains(contents) && !mayExist.contains(contents))
            problems.append(QStringLiteral("unknown or changed contents '%1' in %2").arg(contents, it->front()));
        else if (it->size() > 1)
            problems.append(QStringLiteral("%1 found %2 times").arg(contents).arg(it->size()));
    }
    for (const QString& contents : mustExist)
        if (!found.contains(contents.toUtf8()))
            problems.append(contents + QStringLiteral(" lost"));
    QStringList recorded;
    for (const TrackedFile& file : restarted ? restarted->files() : TrackedFiles()) {
        recorded.append(file.path);
        if (!QFile::exists(file.path))
            problems.append(file.path + QStringLiteral(" recorded but missing"));
    }
    for (const QString& folder : restarted ? places(world).mid(0, 3) : QStringList())
        for (const QString& name : namesIn(folder))
            if (!recorded.contains(folder + QLatin1Char('/') + name))
                problems.append(folder + QLatin1Char('/') + name + QStringLiteral(" not recorded"));
    return problems.join(QStringLiteral(", "));
}

// What the killed Dropwell was doing: a start over files of every kind, then
// the user's actions and the passes of time.
void workload(TestWorld& world)
{
    auto model = world.makeModel();
    model->start(); // takes the dropped files, trashes what is over its day
    model->downloads().setWatching(true);
    for (int i = 0; i < 3; ++i) {
        // As a browser finishes one: written under a name Dropwell leaves alone, then renamed.
        const QString path = world.folders().downloads() + QStringLiteral("/download %1.zip").arg(i);
        writeFile(path + QStringLiteral(".part"), QByteArray("download ") + QByteArray::number(i));
        QFile::rename(path + QStringLiteral(".part"), path);
    }
    const TrackedFiles inbox = model->inboxItems();
    model->keep(inbox.mid(0, 3));
    model->move(inbox.mid(3, 3), elsewhere(world));
    for (const TrackedFile& file : inbox.mid(6, 3))
        model->commitRename(file, QStringLiteral("renamed ") + file.name());
    world.timers.advance(DirectoryWatcher::defaultQuietPeriod + DownloadsWatcher::defaultStableWait);
    world.clock.advance(8 * 86400);
    model->expiry().runPass(); // the rest of the Inbox into Expired
    world.timers.advance(0ms);
}

// Files of the expiry run, their contents their names: a day past due in the
// Inbox, and in Expired with their day there over. Adds every name to `all`;
// the names of those due.
constexpr int dueFiles = 160;
constexpr int graceOverFiles = 40;

QStringList writeExpiringFiles(const TestWorld& world, QStringList& all)
{
    const QDateTime start = world.clock.now();
    TrackedFiles records;
    QStringList due;
    for (int i = 0; i < dueFiles + graceOverFiles; ++i) {
        const bool isDue = i < dueFiles;
        const QString name = QStringLiteral("%1 %2.txt").arg(isDue ? QStringLiteral("due") : QStringLiteral("over")).arg(i, 3, 10, QLatin1Char('0'));
        const QString path = (isDue ? world.folders().inbox() : world.folders().expired()) + QLatin1Char('/') + name;
        writeFile(path, name.toUtf8());
        all.append(name);
        records.append(recordAt(path, isDue ? FileFolder::Inbox : FileFolder::Expired, start.addDays(isDue ? -8 : -10)));
        if (!isDue) {
            records.back().expiredAt = start.addDays(-2);
            continue;
        }
        // Landed eight days ago, as its modification time says too.
        QFile file(path);
        if (!file.open(QIODevice::ReadWrite) || !file.setFileTime(start.addDays(-8), QFileDevice::FileModificationTime))
            qFatal("cannot date %s", qPrintable(path));
        records.back().expiresAt = start.addDays(-1);
        due.append(name);
    }
    AppSettings settings;
    settings.onboardingCompleted = true;
    if (!Persistence(world.support()).saveSettings(settings) || !Persistence(world.support()).saveIndex(records))
        qFatal("cannot write the index");
    return due;
}

} // namespace

class CrashSafetyTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nothingIsLostWhereverItDies()
    {
        const auto [seed, runs] = CrashRuns::fromEnvironment(60);
        QRandomGenerator random(seed);
        int killed = 0;
        for (int run = 0; run < runs; ++run) {
            TestWorld world;
            QVERIFY(world.folders().ensure().ok());
            for (const QString& folder : places(world))
                QDir().mkpath(folder);
            QStringList before;
            for (int i = 0; i < 12; ++i) {
                before.append(QStringLiteral("inbox %1.txt").arg(i));
                writeFile(world.folders().inbox() + QLatin1Char('/') + before.back(), before.back().toUtf8());
            }
            const QStringList downloads {QStringLiteral("download 0"), QStringLiteral("download 1"), QStringLiteral("download 2")};

            // Killed once `events` changes have been seen in the folders.
            constexpr uint32_t changes = IN_CREATE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE | IN_CLOSE_WRITE;
            FolderEvents seen(places(world).front(), changes);
            for (const QString& folder : places(world).mid(1))
                seen.add(folder, changes);
            const int events = int(random.bounded(45));
            killed += killedAfter(seen, events, [&] { workload(world); }) ? 1 : 0;
            const QString context = QStringLiteral("run %1 of seed %2, killed after %3 events: ").arg(run).arg(seed).arg(events);
            QString found = problems(world, before, downloads);
            QVERIFY2(found.isEmpty(), qPrintable(context + found));

            auto model = world.makeModel();
            model->start();
            found = problems(world, before, downloads, model.get());
            QVERIFY2(found.isEmpty(), qPrintable(context + found));
        }
        qInfo("%d runs, %d killed before the work was done", runs, killed);
        QVERIFY(killed > runs / 2);
    }

    void everyExpiredFileKeepsItsDayAfterACrash()
    {
        const auto [seed, runs] = CrashRuns::fromEnvironment(8);
        QRandomGenerator random(seed);
        int killedMidPass = 0;
        for (int run = 0; run < runs; ++run) {
            TestWorld world;
            QVERIFY(world.folders().ensure().ok());
            QDir().mkpath(world.trashFiles());
            QStringList all;
            const QStringList due = writeExpiringFiles(world, all);

            // The first start of a model, and so one expiry pass, killed once
            // `events` moves have been seen in Expired. Each move or trash
            // shows as one event there; any number of them.
            FolderEvents moves(world.folders().expired(), IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE);
            const int events = int(random.bounded(dueFiles + graceOverFiles + 1));
            killedMidPass += killedAfter(moves, events, [&] { world.makeModel()->start(); }) ? 1 : 0;
            const QString context = QStringLiteral("run %1 of seed %2, killed after %3 events: ").arg(run).arg(seed).arg(events);
            QString found = problems(world, all, {});
            QVERIFY2(found.isEmpty(), qPrintable(context + found));

            // Restarted at the moment of the crash, then just before the day
            // the settings window promises ("24 hours for undo") is over.
            auto model = world.makeModel();
            model->start();
            world.clock.advance(24 * 3600 - 1);
            model->expiry().runPass();
            found = problems(world, all, {});
            QVERIFY2(found.isEmpty(), qPrintable(context + found));
            QCOMPARE(namesIn(world.folders().expired()), due); // every one still has its day
            QCOMPARE(model->expiredItems().size(), dueFiles);

            world.clock.advance(1);
            model->expiry().runPass();
            QCOMPARE(namesIn(world.trashFiles()).size(), all.size());
            QVERIFY(model->files().isEmpty());
        }
        qInfo("%d runs, %d killed in the middle of the pass", runs, killedMidPass);
        QVERIFY(killedMidPass > 0);
    }
};

QTEST_GUILESS_MAIN(CrashSafetyTest)
#include "tst_crash_safety.moc"
