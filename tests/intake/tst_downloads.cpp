// The Downloads intake on a real folder, its waits on the test's timers: what
// is taken, when, and what is never touched.
#include "tests/support/FolderEvents.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <unistd.h>

using namespace std::chrono_literals;

namespace {

constexpr auto stableWait = DownloadsWatcher::defaultStableWait;

} // namespace

class DownloadsTest : public QObject {
    Q_OBJECT
private:
    QString downloads() const { return world->folders().downloads(); }
    QString inbox() const { return world->folders().inbox(); }
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
        writeFile(downloads() + QStringLiteral("/before launch.pdf"));
        model->changeSettings([](AppSettings& s) { s.watchDownloadsEnabled = true; });
        // Arrived after launch, before the popover was first opened.
        writeFile(downloads() + QStringLiteral("/before start.pdf"));
        model->start();
        QVERIFY(model->downloads().watcher().isWatching());
        writeFile(downloads() + QStringLiteral("/after start.pdf"));
        QVERIFY(settlesFor(stableWait));
        QCOMPARE(namesIn(inbox()), QStringList(QStringLiteral("after start.pdf")));
        world->timers.advance(1h);
        QCOMPARE(namesIn(downloads()), QStringList({QStringLiteral("before launch.pdf"), QStringLiteral("before start.pdf")}));
        // Reopening the popover does not take them either.
        model->start();
        world->timers.advance(1h);
        QCOMPARE(namesIn(downloads()).size(), 2);
    }

    void finishedFileIsTakenAfterTheWait()
    {
        startWatching();
        writeFile(downloads() + QStringLiteral("/report.pdf"), "contents");
        QVERIFY(settlesFor(stableWait - 1ms));
        QCOMPARE(namesIn(inbox()), QStringList());
        world->timers.advance(1ms);
        QCOMPARE(namesIn(downloads()), QStringList());
        const TrackedFile taken = model->files().front();
        QCOMPARE(taken.path, inbox() + QStringLiteral("/report.pdf"));
        QCOMPARE(taken.source, FileSource::Downloads);
        QCOMPARE(taken.size, 8);
        QCOMPARE(*taken.expiresAt, taken.landedAt.addDays(7));
        const TrackedFiles saved = Persistence(world->support()).loadIndex().value;
        QCOMPARE(saved.size(), 1);
        QCOMPARE(saved.front().id, taken.id);
        QCOMPARE(saved.front().path, taken.path);
    }

    void sameNameIsTakenAgainLater()
    {
        startWatching();
        writeFile(inbox() + QStringLiteral("/report.pdf"), "in the Inbox already");
        writeFile(downloads() + QStringLiteral("/report.pdf"), "first");
        QVERIFY(settlesFor(stableWait));
        QCOMPARE(namesIn(downloads()), QStringList());
        writeFile(downloads() + QStringLiteral("/report.pdf"), "second");
        QVERIFY(settlesFor(stableWait));
        QCOMPARE(namesIn(downloads()), QStringList());
        QCOMPARE(readFile(inbox() + QStringLiteral("/report (2).pdf")), QByteArray("first"));
        QCOMPARE(readFile(inbox() + QStringLiteral("/report (3).pdf")), QByteArray("second"));
    }

    void renamedPartialIsTakenOnlyAfterTheRename()
    {
        startWatching();
        const QString partial = downloads() + QStringLiteral("/Unconfirmed 4711.crdownload");
        writeFile(partial, "half");
        QVERIFY(settlesFor(0ms));
        QCOMPARE(model->downloads().watcher().waitingCount(), 0);
        world->timers.advance(1h);
        QCOMPARE(namesIn(inbox()), QStringList());
        QVERIFY(QFile::rename(partial, downloads() + QStringLiteral("/movie.mkv")));
        QVERIFY(settlesFor(stableWait - 1ms));
        QCOMPARE(namesIn(inbox()), QStringList());
        world->timers.advance(1ms);
        QCOMPARE(namesIn(inbox()), QStringList(QStringLiteral("movie.mkv")));
    }

    void placeholderWaitsForItsPartFile()
    {
        startWatching();
        // Firefox: an empty file under the final name, the data in "<name>.part".
        writeFile(downloads() + QStringLiteral("/setup.iso"), QByteArray());
        writeFile(downloads() + QStringLiteral("/setup.iso.part"), "downloading");
        QVERIFY(settlesFor(1h));
        QCOMPARE(namesIn(inbox()), QStringList());
        QVERIFY(::rename(QFile::encodeName(downloads() + QStringLiteral("/setup.iso.part")).constData(),
                    QFile::encodeName(downloads() + QStringLiteral("/setup.iso")).constData()) == 0);
        QVERIFY(settlesFor(stableWait));
        QCOMPARE(namesIn(inbox()), QStringList(QStringLiteral("setup.iso")));
        QCOMPARE(readFile(inbox() + QStringLiteral("/setup.iso")), QByteArray("downloading"));
    }

    void fileOpenForWritingIsNotTaken()
    {
        startWatching();
        QFile growing(downloads() + QStringLiteral("/big.bin"));
        QVERIFY(growing.open(QIODevice::WriteOnly));
        growing.write("start");
        growing.flush();
        // It stops growing for longer than the wait, but its writer still holds it.
        QVERIFY(settlesFor(1h));
        QCOMPARE(namesIn(inbox()), QStringList());
        growing.write(" and the rest");
        growing.close();
        // One more wait to see the new size unchanged.
        world->timers.advance(2 * stableWait);
        QCOMPARE(namesIn(inbox()), QStringList(QStringLiteral("big.bin")));
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

    void downloadsWaitingWhenDropwellEndedAreTakenAfterARestart()
    {
        writeFile(downloads() + QStringLiteral("/old.pdf"));
        startWatching();
        writeFile(downloads() + QStringLiteral("/taken.pdf"));
        QVERIFY(settlesFor(stableWait));
        writeFile(downloads() + QStringLiteral("/waiting.pdf"));
        QVERIFY(settlesFor(stableWait / 2));
        model.reset(); // as if killed: nothing is written on the way out
        model = world->makeModel();
        model->start();
        world->timers.advance(stableWait);
        QCOMPARE(namesIn(inbox()), QStringList({QStringLiteral("taken.pdf"), QStringLiteral("waiting.pdf")}));
        QCOMPARE(namesIn(downloads()), QStringList(QStringLiteral("old.pdf")));
    }

    void anotherDownloadsFolderIsTakenAsItIs()
    {
        startWatching();
        const QString other = world->home() + QStringLiteral("/Elsewhere");
        writeFile(other + QStringLiteral("/recent.pdf"));
        ModelServices services = world->services();
        services.folders = FolderService(world->home(), world->home(), world->home(), other);
        model = std::make_unique<AppModel>(services);
        model->start();
        world->timers.advance(1h);
        QCOMPARE(namesIn(other), QStringList(QStringLiteral("recent.pdf")));
    }

    void neverTouched()
    {
        startWatching();
        for (const QString& name : {QStringLiteral(".DS_Store"), QStringLiteral("~$report.docx"), QStringLiteral("film.part"),
                 QStringLiteral("page.download"), QStringLiteral("scratch.TMP")})
            writeFile(downloads() + QLatin1Char('/') + name);
        QDir().mkpath(downloads() + QStringLiteral("/an album"));
        writeFile(world->path(QStringLiteral("elsewhere.txt")));
        QVERIFY(QFile::link(world->path(QStringLiteral("elsewhere.txt")), downloads() + QStringLiteral("/link.txt")));
        writeFile(downloads() + QStringLiteral("/.hidden-but-finished"));
        QVERIFY(settlesFor(1h));
        QCOMPARE(namesIn(inbox()), QStringList(QStringLiteral(".hidden-but-finished")));
        QCOMPARE(namesIn(downloads()).size(), 6);
        QVERIFY(QDir(downloads() + QStringLiteral("/an album")).exists());
    }

    void takenNamesAndSources()
    {
        startWatching();
        writeFile(downloads() + QStringLiteral("/Screenshot 2026-12-06 at 10.00.00.png"));
        QVERIFY(settlesFor(stableWait));
        QCOMPARE(model->files().size(), 1);
        QCOMPARE(model->files().front().source, FileSource::Screenshot);
        QCOMPARE(*model->files().front().expiresAt, model->files().front().landedAt.addSecs(48 * 3600));
    }

    void turningOffDropsWaitingFiles()
    {
        startWatching();
        writeFile(downloads() + QStringLiteral("/waiting.pdf"));
        QVERIFY(settlesFor(0ms));
        QCOMPARE(model->downloads().watcher().waitingCount(), 1);
        model->downloads().setWatching(false);
        QCOMPARE(model->downloads().watcher().waitingCount(), 0);
        QVERIFY(!model->settings().downloadsWatchEnabledAt);
        world->timers.advance(1h);
        QCOMPARE(namesIn(downloads()), QStringList(QStringLiteral("waiting.pdf")));
        // Turned on again, the file is part of what was already there.
        model->downloads().setWatching(true);
        QVERIFY(model->settings().downloadsWatchEnabledAt.has_value());
        world->timers.advance(1h);
        QCOMPARE(namesIn(downloads()), QStringList(QStringLiteral("waiting.pdf")));
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

    void filesDropwellPutThereStay()
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
        QCOMPARE(namesIn(downloads()), QStringList({QStringLiteral("kept.pdf"), QStringLiteral("moved.pdf")}));
        QVERIFY(settlesFor(1h));
        QCOMPARE(namesIn(downloads()).size(), 2);
    }

    void refusedFolders_data()
    {
        QTest::addColumn<QString>("downloads");
        QTest::addColumn<QString>("toast");
        QTest::addRow("the home folder") << QString() << QStringLiteral("Downloads holds Dropwell's own folders, so Dropwell does not watch it.");
        QTest::addRow("inside Dropwell") << QStringLiteral("/Dropwell/Kept")
                                         << QStringLiteral("Downloads is inside Dropwell's own folder, so Dropwell does not watch it.");
    }

    void refusedFolders()
    {
        QFETCH(QString, downloads);
        QFETCH(QString, toast);
        ModelServices services = world->services();
        services.folders = FolderService(world->home(), world->home(), world->home(), world->home() + downloads);
        model = std::make_unique<AppModel>(services);
        writeFile(world->home() + QStringLiteral("/notes.txt"));
        model->start();
        writeFile(world->home() + downloads + QStringLiteral("/new.pdf"));
        model->downloads().setWatching(true);
        QCOMPARE(model->toast(), toast);
        QVERIFY(!model->downloads().watcher().isWatching());
        world->timers.advance(1h);
        QVERIFY(QFile::exists(world->home() + downloads + QStringLiteral("/new.pdf")));
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
        writeFile(downloads() + QStringLiteral("/another change.txt"));
        QVERIFY(settlesFor(1h));
        QCOMPARE(model->toast(), QStringLiteral("Could not move download into Inbox.")); // for the new file only
        QCOMPARE(namesIn(downloads()), QStringList({QStringLiteral("another change.txt"), QStringLiteral("stuck.pdf")}));
        QCOMPARE(model->downloads().watcher().waitingCount(), 0);
    }
};

QTEST_GUILESS_MAIN(DownloadsTest)
#include "tst_downloads.moc"
