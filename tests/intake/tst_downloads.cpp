// The Downloads intake on a real folder, its waits on the test's timers: what
// is taken, when, and what is never touched.
#include "tests/support/FolderEvents.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <unistd.h>

using namespace std::chrono_literals;

constexpr auto stableWait = DownloadsWatcher::defaultStableWait;

class DownloadsTest : public QObject {
    Q_OBJECT
private:
    QString downloads() const { return world->folders().downloads(); }
    QString inbox() const { return world->folders().inbox(); }
    QString inDownloads(const QString& name) const { return downloads() + QLatin1Char('/') + name; }
    void startWatching()
    {
        model->start();
        model->downloads().setWatching(true);
    }
    // The folder's quiet wait for what was just written, then `then` more.
    bool settlesFor(std::chrono::milliseconds then)
    {
        if (!world->timers.settle(DirectoryWatcher::defaultQuietPeriod))
            return false;
        world->timers.advance(then);
        return true;
    }

    std::unique_ptr<TestWorld> world;
    std::unique_ptr<AppModel> model;

private Q_SLOTS:
    void init()
    {
        world = std::make_unique<TestWorld>();
        QDir().mkpath(downloads());
        model = world->makeModel();
    }

    void cleanup()
    {
        model.reset();
        world.reset();
    }

    void filesPresentBeforeAreNeverTaken()
    {
        model->changeSettings([](AppSettings& s) { s.watchDownloadsEnabled = true; });
        // Arrived after launch, before the popover was first opened.
        writeFile(downloads() + QStringLiteral("/before start.pdf"));
        model->start();
        writeFile(inDownloads(QStringLiteral("after start.pdf")));
        QVERIFY(settlesFor(stableWait));
        QCOMPARE(namesIn(inbox()), QStringList(QStringLiteral("after start.pdf")));
        model->start(); // reopening the popover takes none of them either
        world->timers.advance(1h);
        QCOMPARE(namesIn(downloads()), QStringList(QStringLiteral("before start.pdf")));
    }

    void finishedFilesAreTakenAfterTheWaitTheSameNameAgainLater()
    {
        startWatching();
        const QString shot = QStringLiteral("Screenshot 2026-12-06 at 10.00.00.png");
        writeFile(inDownloads(QStringLiteral("report.pdf")), "contents");
        writeFile(inDownloads(shot));
        QVERIFY(settlesFor(stableWait - 1ms));
        QCOMPARE(namesIn(inbox()), QStringList());
        world->timers.advance(1ms);
        QCOMPARE(namesIn(downloads()), QStringList());
        const TrackedFiles saved = Persistence(world->support()).loadIndex().value;
        QCOMPARE(saved.size(), 2);
        QCOMPARE(model->files().size(), 2);
        for (const TrackedFile& taken : model->files()) {
            QVERIFY(std::any_of(saved.begin(), saved.end(), [&](const TrackedFile& f) { return f.id == taken.id && f.path == taken.path; }));
            const bool isShot = taken.name() == shot;
            QCOMPARE(taken.path, inbox() + QLatin1Char('/') + (isShot ? shot : QStringLiteral("report.pdf")));
            QCOMPARE(taken.source, isShot ? FileSource::Screenshot : FileSource::Downloads);
            QCOMPARE(taken.size, isShot ? 1 : 8);
            QCOMPARE(*taken.expiresAt, isShot ? taken.landedAt.addSecs(48 * 3600) : taken.landedAt.addDays(7));
        }
        writeFile(inDownloads(QStringLiteral("report.pdf")), "second");
        QVERIFY(settlesFor(stableWait));
        QCOMPARE(namesIn(downloads()), QStringList());
        QCOMPARE(readFile(inbox() + QStringLiteral("/report (2).pdf")), QByteArray("second"));
    }

    void unfinishedDownloadsAreTakenOnlyOnceFinished()
    {
        startWatching();
        const QString partial = inDownloads(QStringLiteral("Unconfirmed 4711.crdownload"));
        writeFile(partial, "half");
        // Firefox: an empty file under the final name, the data in "<name>.part".
        writeFile(inDownloads(QStringLiteral("setup.iso")), QByteArray());
        writeFile(inDownloads(QStringLiteral("setup.iso.part")), "downloading");
        QFile growing(inDownloads(QStringLiteral("big.bin")));
        QVERIFY(growing.open(QIODevice::WriteOnly));
        growing.write("start");
        growing.flush();
        // It stops growing for longer than the wait, but its writer still holds it.
        QVERIFY(settlesFor(1h));
        QCOMPARE(namesIn(inbox()), QStringList());
        QVERIFY(QFile::rename(partial, inDownloads(QStringLiteral("movie.mkv"))));
        QVERIFY(::rename(QFile::encodeName(inDownloads(QStringLiteral("setup.iso.part"))).constData(),
                    QFile::encodeName(inDownloads(QStringLiteral("setup.iso"))).constData()) == 0);
        QVERIFY(settlesFor(stableWait - 1ms));
        QCOMPARE(namesIn(inbox()), QStringList());
        world->timers.advance(1ms);
        QCOMPARE(namesIn(inbox()), QStringList({QStringLiteral("movie.mkv"), QStringLiteral("setup.iso")}));
        growing.write(" and the rest");
        growing.close();
        // One more wait to see the new size unchanged.
        world->timers.advance(2 * stableWait);
        QCOMPARE(namesIn(inbox()), QStringList({QStringLiteral("big.bin"), QStringLiteral("movie.mkv"), QStringLiteral("setup.iso")}));
        QCOMPARE(readFile(inbox() + QStringLiteral("/setup.iso")), QByteArray("downloading"));
        QCOMPARE(readFile(inbox() + QStringLiteral("/big.bin")), QByteArray("start and the rest"));
    }

    void eachDownloadWaitsOnlyForItself()
    {
        startWatching();
        // One download every 60 ms, on and on: the folder is never quiet.
        const auto ceiling = DirectoryWatcher::defaultQuietPeriod * DirectoryWatcher::longestDelay;
        std::optional<std::chrono::milliseconds> firstTaken;
        for (auto elapsed = 0ms; elapsed <= stableWait + ceiling && !firstTaken; elapsed += 60ms) {
            writeFile(downloads() + QStringLiteral("/stream %1.bin").arg(elapsed.count(), 6, 10, QLatin1Char('0')));
            QCoreApplication::processEvents(); // the kernel queued the folder's event with the write
            world->timers.advance(60ms);
            if (namesIn(inbox()).contains(QStringLiteral("stream 000000.bin")))
                firstTaken = elapsed;
        }
        QVERIFY(firstTaken);
        QVERIFY2(*firstTaken >= stableWait, qPrintable(QString::number(firstTaken->count())));
    }

    void downloadsThatFinishTogetherAreSavedOnce()
    {
        startWatching();
        for (int i = 0; i < 50; ++i)
            writeFile(downloads() + QStringLiteral("/photo %1.jpg").arg(i));
        QVERIFY(settlesFor(0ms));
        FolderEvents saves(world->support(), IN_MOVED_TO);
        world->timers.advance(stableWait);
        QCOMPARE(model->inboxCount(), 50);
        QCOMPARE(saves.take(), QStringList(QStringLiteral("index.json")));
        QCOMPARE(Persistence(world->support()).loadIndex().value.size(), 50);
    }

    void neverTouched()
    {
        startWatching();
        model->changeSettings([&](AppSettings& s) {
            s.keepDestination = KeepDestination::Other;
            s.keepDestinationPath = downloads();
        });
        writeFile(inbox() + QStringLiteral("/kept.pdf"));
        writeFile(inbox() + QStringLiteral("/moved.pdf"));
        model->ingestInbox();
        const TrackedFiles files = model->files();
        model->keep({files[0]});
        model->move({files[1]}, downloads());
        for (const QString& name : {QStringLiteral(".DS_Store"), QStringLiteral("~$report.docx"), QStringLiteral("film.part"),
                 QStringLiteral("page.download"), QStringLiteral("scratch.TMP")})
            writeFile(downloads() + QLatin1Char('/') + name);
        QDir().mkpath(downloads() + QStringLiteral("/an album"));
        writeFile(world->path(QStringLiteral("elsewhere.txt")));
        QVERIFY(QFile::link(world->path(QStringLiteral("elsewhere.txt")), downloads() + QStringLiteral("/link.txt")));
        writeFile(downloads() + QStringLiteral("/.hidden-but-finished"));
        QVERIFY(settlesFor(1h));
        QCOMPARE(namesIn(inbox()), QStringList(QStringLiteral(".hidden-but-finished")));
        QCOMPARE(namesIn(downloads()).size(), 8);
        QVERIFY(QDir(downloads() + QStringLiteral("/an album")).exists());
    }

    // A file waiting when Dropwell was killed is taken after the restart.
    void turningOffDropsWaitingFilesARestartDoesNot()
    {
        startWatching();
        writeFile(inDownloads(QStringLiteral("dropped.pdf")));
        QVERIFY(settlesFor(0ms));
        QCOMPARE(model->downloads().watcher().waitingCount(), 1);
        model->downloads().setWatching(false);
        QCOMPARE(model->downloads().watcher().waitingCount(), 0);
        world->timers.advance(1h);
        // Turned on again, the file is part of what was already there.
        model->downloads().setWatching(true);
        world->timers.advance(1h);
        writeFile(inDownloads(QStringLiteral("waiting.pdf")));
        QVERIFY(settlesFor(stableWait / 2));
        model.reset(); // as if killed: nothing is written on the way out
        model = world->makeModel();
        model->start();
        world->timers.advance(stableWait);
        QCOMPARE(namesIn(inbox()), QStringList(QStringLiteral("waiting.pdf")));
        QCOMPARE(namesIn(downloads()), QStringList(QStringLiteral("dropped.pdf")));
    }

    void unreadableFileWaits()
    {
        if (::geteuid() == 0)
            QSKIP("root can read every file");
        startWatching();
        writeFile(downloads() + QStringLiteral("/locked.pdf"));
        QVERIFY(QFile::setPermissions(downloads() + QStringLiteral("/locked.pdf"), QFile::WriteOwner));
        QVERIFY(settlesFor(1h));
        QCOMPARE(namesIn(inbox()), QStringList());
        QCOMPARE(model->downloads().watcher().waitingCount(), 1);
    }

    // A folder of the user's choice is watched as it is; one that holds
    // Dropwell's folders, or lies inside them, is refused.
    void downloadsFolderElsewhere_data()
    {
        QTest::addColumn<QString>("downloads");
        QTest::addColumn<QString>("toast"); // empty: watched
        QTest::addRow("a folder of its own") << QStringLiteral("/Elsewhere") << QString();
        QTest::addRow("the home folder") << QString() << QStringLiteral("Downloads holds Dropwell's own folders, so Dropwell does not watch it.");
        QTest::addRow("inside Dropwell") << QStringLiteral("/Dropwell/Kept")
                                         << QStringLiteral("Downloads is inside Dropwell's own folder, so Dropwell does not watch it.");
    }

    void downloadsFolderElsewhere()
    {
        QFETCH(QString, downloads);
        QFETCH(QString, toast);
        ModelServices services = world->services();
        services.folders = FolderService(world->home(), world->home(), world->home(), world->home() + downloads);
        model = std::make_unique<AppModel>(services);
        model->start();
        QVERIFY(QDir().mkpath(world->home() + downloads));
        model->downloads().setWatching(true);
        QCOMPARE(model->toast().value_or(QString()), toast);
        QCOMPARE(model->downloads().watcher().isWatching(), toast.isEmpty());
    }

    void failedMoveSaysSoAndIsNotRetried()
    {
        QString why;
        QVERIFY(world->folders().ensure().ok());
        auto inboxDisk = ScopedMount::mount(inbox(), "size=1m", why);
        if (!inboxDisk || !inboxDisk->makeReadOnly(why))
            QSKIP(qPrintable(why));
        startWatching();
        writeFile(downloads() + QStringLiteral("/stuck.pdf"));
        QVERIFY(settlesFor(stableWait));
        QCOMPARE(model->toast(), QStringLiteral("Could not move download into Inbox."));
        model->setToast(std::nullopt);
        // The folder looked at again, the file that failed is not offered again.
        writeFile(downloads() + QStringLiteral("/another.part"));
        QVERIFY(settlesFor(1h));
        QCOMPARE(model->toast(), std::nullopt);
        QCOMPARE(namesIn(downloads()), QStringList({QStringLiteral("another.part"), QStringLiteral("stuck.pdf")}));
    }
};

QTEST_GUILESS_MAIN(DownloadsTest)
#include "tst_downloads.moc"
