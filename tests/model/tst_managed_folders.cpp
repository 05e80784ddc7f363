// Dropwell acts only inside its own folders: a managed folder that leads
// elsewhere is refused, index records pointing elsewhere are dropped, and no
// action reaches a file outside them or behind a link.
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTest>

class ManagedFoldersTest : public QObject {
    Q_OBJECT

    QString elsewhere(const QString& name = {}) const
    {
        return world->path(QStringLiteral("elsewhere")) + (name.isEmpty() ? QString() : QLatin1Char('/') + name);
    }
    // Days later, with every pass in between: anything Dropwell would expire
    // and trash has gone.
    void runPassesFor(AppModel& model, int days)
    {
        for (int day = 0; day < days; ++day) {
            world->clock.advance(24 * 3600 + 1);
            model.expiry().runPass();
        }
    }

    std::unique_ptr<TestWorld> world;

private Q_SLOTS:
    void init()
    {
        world = std::make_unique<TestWorld>();
        writeFile(elsewhere(QStringLiteral("secret.doc")), "the user's own");
    }

    void cleanup() { world.reset(); }

    void aFolderThatLeadsElsewhereIsLeftAlone_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"Inbox", "Kept", "Expired"})
            QTest::addRow("%s", name) << QString::fromLatin1(name);
    }

    void aFolderThatLeadsElsewhereIsLeftAlone()
    {
        QFETCH(QString, name);
        const QString folder = world->folders().root() + QLatin1Char('/') + name;
        QVERIFY(QDir().mkpath(world->folders().root()));
        QVERIFY(QFile::link(elsewhere(), folder));
        auto model = world->makeModel();
        model->start();
        const QString refusal = QStringLiteral("~/Dropwell/%1 leads to another folder, so Dropwell leaves it alone. "
                                               "Make it a plain folder, then open Dropwell again.")
                                    .arg(name);
        QCOMPARE(model->toast(), refusal);
        QVERIFY(!model->isStarted());
        QVERIFY(model->files().isEmpty());
        QVERIFY(!QFile::exists(world->support() + QStringLiteral("/index.json")));
        model->start(); // each showing of the popover looks again
        QCOMPARE(model->toast(), refusal);
        QCOMPARE(namesIn(elsewhere()), QStringList(QStringLiteral("secret.doc")));

        // Mended, the next start goes ahead.
        QVERIFY(QFile::remove(folder));
        model->setToast(std::nullopt);
        model->start();
        QVERIFY(model->isStarted());
        QCOMPARE(model->toast(), std::nullopt);
        QVERIFY(QFileInfo(folder).isDir() && !QFileInfo(folder).isSymLink());
    }

    void anInboxLinkedAfterTheStartStopsThePassAndDownloads()
    {
        auto model = world->makeModel();
        QVERIFY(QDir().mkpath(world->folders().downloads()));
        model->start();
        model->downloads().setWatching(true);
        landFile(*world, *model, QStringLiteral("mine.txt"));
        // The user swaps the Inbox for a link to a folder of other files.
        const QString inbox = world->folders().inbox();
        QVERIFY(QDir(inbox).removeRecursively());
        QVERIFY(QFile::link(elsewhere(), inbox));
        writeFile(elsewhere(QStringLiteral("mine.txt")), "not the file Dropwell took in");
        writeFile(world->folders().downloads() + QStringLiteral("/report.pdf"));
        QVERIFY(world->timers.settle(DirectoryWatcher::defaultQuietPeriod));
        world->timers.advance(DownloadsWatcher::defaultStableWait);
        QCOMPARE(model->toast(), QStringLiteral("Could not move download into Inbox."));
        QCOMPARE(namesIn(world->folders().downloads()), QStringList(QStringLiteral("report.pdf")));

        runPassesFor(*model, 10);
        model->ingestInbox();
        model->deleteFiles(model->inboxItems());
        QCOMPARE(namesIn(elsewhere()), QStringList({QStringLiteral("mine.txt"), QStringLiteral("secret.doc")}));
        QCOMPARE(namesIn(world->trashFiles()), QStringList());
        model->start();
        QVERIFY(model->toast()->startsWith(QStringLiteral("~/Dropwell/Inbox leads to another folder")));
    }

    // Which paths lie outside is for tst_inbox_index to pin down; here, that
    // loading the index asks.
    void recordsOutsideAreDroppedOnLoad()
    {
        const QDateTime longAgo = world->clock.now().addDays(-30);
        const TrackedFile inside = recordAt(world->folders().inbox() + QStringLiteral("/mine.txt"), FileFolder::Inbox, longAgo);
        writeFile(inside.path);
        QVERIFY(Persistence(world->support()).saveIndex({recordAt(elsewhere(QStringLiteral("secret.doc")), FileFolder::Inbox, longAgo), inside}));
        auto model = world->makeModel();
        QTest::ignoreMessage(QtWarningMsg, "Dropwell: dropped 1 index records of files outside its folders");
        model->start();
        QCOMPARE(model->files().size(), 1);
        QCOMPARE(model->files().front().id, inside.id);
    }

    // A record a stale or hand-edited index could carry mid-session, and one
    // whose file was swapped for a link after it was taken in. Every action
    // asks the question tst_inbox_index pins down for all kinds of paths.
    void noActionReachesOutsideOrThroughALink()
    {
        auto model = world->makeModel();
        model->start();
        const QString secret = elsewhere(QStringLiteral("secret.doc"));
        const QString link = world->folders().inbox() + QStringLiteral("/secret.doc");
        const TrackedFile taken = landFile(*world, *model, QStringLiteral("secret.doc"));
        QVERIFY(QFile::remove(link));
        QVERIFY(QFile::link(secret, link));
        for (const TrackedFile& file : {recordAt(secret, FileFolder::Inbox, world->clock.now()), taken}) {
            model->setToast(std::nullopt);
            model->deleteFiles({file});
            QCOMPARE(model->toast(), QStringLiteral("Could not move 'secret.doc' to Trash."));
            model->keep({file});
            QCOMPARE(model->toast(), QStringLiteral("Could not keep 'secret.doc'."));
            model->move({file}, world->path(QStringLiteral("target")));
            QCOMPARE(model->toast(), QStringLiteral("Could not move 'secret.doc'."));
            model->commitRename(file, QStringLiteral("renamed.doc"));
            QCOMPARE(model->toast(), QStringLiteral("Could not rename 'secret.doc'."));
            TrackedFile expired = file;
            expired.folder = FileFolder::Expired;
            model->expiry().undo(expired);
            QCOMPARE(model->toast(), QStringLiteral("Could not undo expiry for 'secret.doc'."));
        }
        runPassesFor(*model, 10);
        model->ingestInbox();
        QVERIFY(model->inboxItems().isEmpty());
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(namesIn(elsewhere()), QStringList(QStringLiteral("secret.doc")));
        QCOMPARE(readFile(secret), QByteArray("the user's own"));
        QVERIFY(namesIn(world->path(QStringLiteral("target"))).isEmpty());
        QVERIFY(namesIn(world->trashFiles()).isEmpty());
        QVERIFY(namesIn(world->folders().expired()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(ManagedFoldersTest)
#include "tst_managed_folders.moc"
