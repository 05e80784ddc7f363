// An expiry pass killed with SIGKILL at random moments: after a restart no file
// is lost or doubled, and every file the pass moved keeps its full day in
// Expired before the Trash takes it.
#include "core/ExpiryEngine.h"
#include "tests/support/CrashChild.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

namespace {

constexpr int dueFiles = 160; // in the Inbox, a day past their due time
constexpr int graceOverFiles = 40; // in Expired, their day over

QString nameOf(const char* prefix, int i) { return QStringLiteral("%1 %2.txt").arg(QLatin1String(prefix)).arg(i, 3, 10, QLatin1Char('0')); }

// Where each file is now: the folders it is found in by name, with its
// contents checked.
struct Census {
    QStringList inInbox, inExpired, inTrash;
    QStringList problems;
};

Census take(const TestWorld& world, const QStringList& names)
{
    Census census;
    const QStringList inbox = namesIn(world.folders().inbox()), expired = namesIn(world.folders().expired()),
                      trash = namesIn(world.trashFiles());
    for (const QString& name : names) {
        const int copies = int(inbox.contains(name)) + int(expired.contains(name)) + int(trash.contains(name));
        if (copies != 1)
            census.problems.append(QStringLiteral("%1 found %2 times").arg(name).arg(copies));
        QStringList& where = inbox.contains(name) ? census.inInbox : expired.contains(name) ? census.inExpired : census.inTrash;
        where.append(name);
        const QString folder = inbox.contains(name) ? world.folders().inbox()
            : expired.contains(name)                ? world.folders().expired()
                                                    : world.trashFiles();
        if (copies == 1 && readFile(folder + QLatin1Char('/') + name) != name.toUtf8())
            census.problems.append(name + QStringLiteral(" changed"));
    }

    const qsizetype extra = inbox.size() + expired.size() + trash.size() - names.size();
    if (extra != 0)
        census.problems.append(QStringLiteral("%1 files too many").arg(extra));
    return census;
}

void setModificationTime(const QString& path, const QDateTime& time)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
}

} // namespace

class ExpiryCrashTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyFileKeepsItsDayAfterACrash()
    {
        // More runs or another seed from the environment, for a longer search.
        const auto [seed, runs] = CrashRuns::fromEnvironment(8);
        QRandomGenerator random(seed);
        int killedMidPass = 0;
        for (int run = 0; run < runs; ++run) {
            TestWorld world;
            QVERIFY(world.folders().ensure().ok());
            const QDateTime start = world.clock.now();
            AppSettings settings;
            settings.onboardingCompleted = true;
            QVERIFY(Persistence(world.support()).saveSettings(settings));
            TrackedFiles records;
            QStringList due, all;
            for (int i = 0; i < dueFiles; ++i) {
                const QString name = nameOf("due", i);
                const QString path = world.folders().inbox() + QLatin1Char('/') + name;
                writeFile(path, name.toUtf8());
                // Landed eight days ago, as its modification time says too.
                const QDateTime landed = start.addDays(-8);
                setModificationTime(path, landed);
                records.append(recordAt(path, FileFolder::Inbox, landed));
                records.back().expiresAt = landed.addDays(7);
                due.append(name);
            }
            for (int i = 0; i < graceOverFiles; ++i) {
                const QString name = nameOf("over", i);
                const QString path = world.folders().expired() + QLatin1Char('/') + name;
                writeFile(path, name.toUtf8());
                records.append(recordAt(path, FileFolder::Expired, start.addDays(-10)));
                records.back().expiredAt = start.addDays(-2);
                all.append(name);
            }
            all += due;
            QVERIFY(Persistence(world.support()).saveIndex(records));

            // Each move or trash shows as one event in Expired; any number of them.
            const int events = int(random.bounded(dueFiles + graceOverFiles + 1));
            killedMidPass += passKilledAfter(world, events) ? 1 : 0;
            const QString context = QStringLiteral("run %1 of seed %2, killed after %3 events: ").arg(run).arg(seed).arg(events);
            Census census = take(world, all);
            QVERIFY2(census.problems.isEmpty(), qPrintable(context + census.problems.join(QStringLiteral(", "))));

            // Restarted at the moment of the crash, then just before a day is over.
            auto model = world.makeModel();
            model->start();
            world.clock.advance(ExpiryEngine::holdInExpiredSeconds - 1);
            model->expiry().runPass();
            census = take(world, all);
            QVERIFY2(census.problems.isEmpty(), qPrintable(context + census.problems.join(QStringLiteral(", "))));
            QVERIFY2(census.inInbox.isEmpty(), qPrintable(context));
            QCOMPARE(census.inExpired, due); // every one still has its day
            QCOMPARE(model->expiredItems().size(), dueFiles);

            world.clock.advance(1);
            model->expiry().runPass();
            census = take(world, all);
            QVERIFY2(census.problems.isEmpty(), qPrintable(context + census.problems.join(QStringLiteral(", "))));
            QCOMPARE(census.inTrash.size(), all.size());
            QVERIFY(model->files().isEmpty());
        }
        qInfo("%d runs, %d killed in the middle of the pass", runs, killedMidPass);
        QVERIFY(killedMidPass > 0);
    }

private:
    // Runs the model's first start (and so one pass) in a child process and
    // kills it once `events` moves have been seen in Expired (or lets it end).
    // Returns whether it was killed before it ended.
    static bool passKilledAfter(TestWorld& world, int events)
    {
        FolderEvents moves(world.folders().expired(), IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE);
        return killedAfter(moves, events, [&] {
            auto model = world.makeModel();
            model->start();
        });
    }
};

QTEST_GUILESS_MAIN(ExpiryCrashTest)
#include "tst_expiry_crash.moc"
