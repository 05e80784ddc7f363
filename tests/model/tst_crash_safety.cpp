// Dropwell killed with SIGKILL at random moments while it ingests, keeps,
// moves, renames, takes downloads and expires: after the kill and after a
// restart every file is on disk exactly once, unchanged, and the restarted
// index lists every file Dropwell holds, Kept ones included. A file an
// interrupted expiry pass moved still gets its full day in Expired.
#include "core/ExpiryEngine.h"
#include "tests/support/CrashChild.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QTest>

namespace {

using namespace std::chrono_literals;

QString elsewhere(const TestWorld& world) { return world.path(QStringLiteral("home/Projects")); }

// Every folder a file can be in, first Dropwell's own.
QStringList places(const TestWorld& world)
{
    const FolderService folders = world.folders();
    return {folders.inbox(), folders.kept(), folders.expired(), elsewhere(world), world.trashFiles(), folders.downloads()};
}

// Each file's contents are its first name, so a renamed or moved file is still
// known. Problems are listed with the contents they are about.
QStringList census(const TestWorld& world, const QStringList& mustExist, const QStringList& mayExist)
{
    QHash<QByteArray, int> found;
    QHash<QByteArray, QString> where;
    for (const QString& folder : places(world))
        for (const QString& name : namesIn(folder)) {
            if (name.endsWith(QStringLiteral(".part")))
                continue; // the browser's, killed with the workload
            const QByteArray contents = readFile(folder + QLatin1Char('/') + name);
            ++found[contents];
            where[contents] = folder + QLatin1Char('/') + name;
        }
    QStringList problems;
    for (auto it = found.cbegin(); it != found.cend(); ++it) {
        const QString contents = QString::fromUtf8(it.key());
        if (!mustExist.contains(contents) && !mayExist.contains(contents))
            problems.append(QStringLiteral("unknown or changed contents '%1' in %2").arg(contents, where[it.key()]));
        else if (it.value() > 1)
            problems.append(QStringLiteral("%1 found %2 times").arg(contents).arg(it.value()));
    }
    for (const QString& contents : mustExist)
        if (!found.contains(contents.toUtf8()))
            problems.append(contents + QStringLiteral(" lost"));
    return problems;
}

// The restarted model's records and the files in its folders match one to one.
QStringList indexProblems(const TestWorld& world, const AppModel& model)
{
    QStringList problems;
    QStringList recorded;
    for (const TrackedFile& file : model.files()) {
        recorded.append(file.path);
        if (!QFile::exists(file.path))
            problems.append(file.path + QStringLiteral(" recorded but missing"));
    }
    const FolderService folders = world.folders();
    for (const QString& folder : {folders.inbox(), folders.kept(), folders.expired()})
        for (const QString& name : namesIn(folder))
            if (!recorded.contains(folder + QLatin1Char('/') + name))
                problems.append(folder + QLatin1Char('/') + name + QStringLiteral(" not recorded"));
    return problems;
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
// Inbox, and in Expired with their day there over.
constexpr int dueFiles = 160;
constexpr int graceOverFiles = 40;

QStringList writeExpiringFiles(const TestWorld& world, QStringList& due)
{
    const QDateTime start = world.clock.now();
    TrackedFiles records;
    QStringList all;
    for (int i = 0; i < dueFiles + graceOverFiles; ++i) {
        const bool isDue = i < dueFiles;
        const QString name = QStringLiteral("%1 %2.txt").arg(isDue ? QStringLiteral("due") : QStringLiteral("over")).arg(i, 3, 10, QLatin1Char('0'));
        const QString path = (isDue ? world.folders().inbox() : world.folders().expired()) + QLatin1Char('/') + name;
        writeFile(path, name.toUtf8());
        all.append(name);
        if (!isDue) {
            records.append(recordAt(path, FileFolder::Expired, start.addDays(-10)));
            records.back().expiredAt = start.addDays(-2);
            continue;
        }
        // Landed eight days ago, as its modification time says too.
        const QDateTime landed = start.addDays(-8);
        QFile file(path);
        if (!file.open(QIODevice::ReadWrite) || !file.setFileTime(landed, QFileDevice::FileModificationTime))
            qFatal("cannot date %s", qPrintable(path));
        records.append(recordAt(path, FileFolder::Inbox, landed));
        records.back().expiresAt = landed.addDays(7);
        due.append(name);
    }
    AppSettings settings;
    settings.onboardingCompleted = true;
    if (!Persistence(world.support()).saveSettings(settings) || !Persistence(world.support()).saveIndex(records))
        qFatal("cannot write the index");
    return all;
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
            QStringList problems = census(world, before, downloads);
            QVERIFY2(problems.isEmpty(), qPrintable(context + problems.join(QStringLiteral(", "))));

            auto model = world.makeModel();
            model->start();
            problems = census(world, before, downloads) + indexProblems(world, *model);
            QVERIFY2(problems.isEmpty(), qPrintable(context + problems.join(QStringLiteral(", "))));
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
            QStringList due;
            const QStringList all = writeExpiringFiles(world, due);

            // The first start of a model, and so one expiry pass, killed once
            // `events` moves have been seen in Expired. Each move or trash
            // shows as one event there; any number of them.
            FolderEvents moves(world.folders().expired(), IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE);
            const int events = int(random.bounded(dueFiles + graceOverFiles + 1));
            killedMidPass += killedAfter(moves, events, [&] { world.makeModel()->start(); }) ? 1 : 0;
            const QString context = QStringLiteral("run %1 of seed %2, killed after %3 events: ").arg(run).arg(seed).arg(events);
            QStringList problems = census(world, all, {});
            QVERIFY2(problems.isEmpty(), qPrintable(context + problems.join(QStringLiteral(", "))));

            // Restarted at the moment of the crash, then just before a day is over.
            auto model = world.makeModel();
            model->start();
            world.clock.advance(ExpiryEngine::holdInExpiredSeconds - 1);
            model->expiry().runPass();
            problems = census(world, all, {});
            QVERIFY2(problems.isEmpty(), qPrintable(context + problems.join(QStringLiteral(", "))));
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
