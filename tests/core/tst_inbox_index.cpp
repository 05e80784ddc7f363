// Reconciliation of the index with the Inbox and Expired folders, and the
// lists the popover shows from it.
#include "core/InboxIndex.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <unistd.h>

class InboxIndexTest : public QObject {
    Q_OBJECT

    void reconcile() { InboxIndex::reconcile(files, inbox(), expired(), world->clock.now()); }
    QString inbox() const { return world->folders().inbox(); }
    QString expired() const { return world->folders().expired(); }

    std::unique_ptr<TestWorld> world;
    TrackedFiles files;

private Q_SLOTS:
    void init()
    {
        world = std::make_unique<TestWorld>();
        QVERIFY(world->folders().ensure().ok());
        files.clear();
    }
    void cleanup() { world.reset(); }

    void newFilesGetRecords_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("inExpired");
        QTest::addColumn<FileSource>("source");
        const auto row = [](const char* what, const QString& name, FileSource source, bool inExpired = false) {
            QTest::addRow("%s", what) << name << inExpired << source;
        };
        row("recording in capitals", QStringLiteral("SCREEN RECORDING 1.mp4"), FileSource::Screenshot);
        row("the word alone", QStringLiteral("screenshot.png"), FileSource::Manual);
        row("a tool's own naming", QStringLiteral("2026-12-07_00-59.png"), FileSource::Screenshot);
        row("a date, not the tool's naming", QStringLiteral("2026-12-07 notes.txt"), FileSource::Manual);
        row("spaces and Unicode", QStringLiteral("  caf\u00E9 \u6F22\u5B57 .pdf"), FileSource::Manual);
        row("newline", QStringLiteral("two\nlines.txt"), FileSource::Manual);
        row("255 bytes", QString(251, QLatin1Char('n')) + QStringLiteral(".txt"), FileSource::Manual);
        row("found in Expired", QStringLiteral("old.txt"), FileSource::Manual, true);
        row("a tool's naming, found in Expired", QStringLiteral("2026-12-06_10-00.png"), FileSource::Manual, true);
    }
    void newFilesGetRecords()
    {
        QFETCH(QString, name);
        QFETCH(bool, inExpired);
        QFETCH(FileSource, source);
        const QDateTime now = world->clock.now();
        const QString path = (inExpired ? expired() : inbox()) + QLatin1Char('/') + name;
        writeFile(path, "12345");
        // Not its old modification time: that would send a file found in
        // Expired to the Trash at once.
        QFile handle(path);
        QVERIFY(handle.open(QIODevice::ReadWrite) && handle.setFileTime(now.addDays(-3), QFileDevice::FileModificationTime));
        handle.close();
        files.append(recordAt(QStringLiteral("/elsewhere/kept.txt"), FileFolder::Kept, now));
        ScreenshotNames names;
        names.add(ScreenshotNaming::strftime(QStringLiteral("%F_%H-%M"), QStringLiteral("_")));
        InboxIndex::reconcile(files, inbox(), expired(), now, names);
        QCOMPARE(files.size(), 2);
        // New Inbox records come first, new Expired ones last.
        const TrackedFile& file = inExpired ? files.back() : files.front();
        QCOMPARE(file.path, path);
        QCOMPARE(file.source, source);
        QCOMPARE(file.size, 5);
        QCOMPARE(file.landedAt, now);
        QCOMPARE(file.folder, inExpired ? FileFolder::Expired : FileFolder::Inbox);
        if (inExpired) // the Inbox's due times are the model's, from its settings
            QCOMPARE(file.expiredAt, now);
    }

    void onlyVisibleRegularFilesAreTracked()
    {
        writeFile(inbox() + QStringLiteral("/.hidden"));
        writeFile(inbox() + QStringLiteral("/folder/inside.txt"));
        writeFile(world->path(QStringLiteral("target.txt")));
        QVERIFY(QFile::link(world->path(QStringLiteral("target.txt")), inbox() + QStringLiteral("/link.txt")));
        // A name that is not valid text cannot be carried through the index intact.
        const QByteArray raw = QFile::encodeName(inbox()) + "/bad\xff\xfe.txt";
        FILE* handle = std::fopen(raw.constData(), "w");
        QVERIFY(handle);
        std::fclose(handle);
        reconcile();
        ::unlink(raw.constData()); // Qt could not remove it with the temporary folder
        QVERIFY2(files.isEmpty(), qPrintable(files.isEmpty() ? QString() : files.front().path));
    }

    void recordsFollowTheirFileByNameStayKeptButNotARename()
    {
        // The home moved: the same names in the new Inbox and Expired.
        const TrackedFile old = recordAt(QStringLiteral("/old/home/Dropwell/Inbox/a.txt"), FileFolder::Inbox,
            world->clock.now().addDays(-1));
        TrackedFile oldExpired = recordAt(QStringLiteral("/old/home/Dropwell/Expired/b.txt"), FileFolder::Expired,
            world->clock.now().addDays(-3));
        oldExpired.expiredAt = world->clock.now().addDays(-1);
        // A kept file put back in the Inbox by hand.
        TrackedFile kept = recordAt(inbox() + QStringLiteral("/k.txt"), FileFolder::Kept, world->clock.now());
        kept.kept = true;
        files = {old, oldExpired, kept};
        TrackedFiles found = files;
        found[0].path = inbox() + QStringLiteral("/a.txt");
        found[1].path = expired() + QStringLiteral("/b.txt");
        found[2].folder = FileFolder::Inbox;
        for (const TrackedFile& file : found)
            writeFile(file.path);
        // A new file in the Inbox is not the Expired file of the same name.
        writeFile(inbox() + QStringLiteral("/b.txt"));
        reconcile();
        QCOMPARE(files.mid(1), found);
        QCOMPARE(files.front().path, inbox() + QStringLiteral("/b.txt"));
        auto model = world->makeModel();
        model->index().update(files.back());
        QVERIFY(model->inboxItems().isEmpty());

        world->clock.advance(3600);
        QVERIFY(QFile::rename(inbox() + QStringLiteral("/a.txt"), inbox() + QStringLiteral("/c.txt")));
        reconcile();
        QCOMPARE(files.size(), 4);
        QVERIFY(files.front().id != old.id);
        QCOMPARE(files.front().landedAt, world->clock.now());
    }

    void goneFilesAreRetired()
    {
        const QString outside = world->path(QStringLiteral("still-here.txt"));
        writeFile(outside);
        const QDateTime now = world->clock.now();
        const TrackedFile elsewhere = recordAt(outside, FileFolder::Inbox, now);
        TrackedFile trashedWithDate = recordAt(QStringLiteral("/nowhere"), FileFolder::Trash, now);
        trashedWithDate.trashedAt = now;
        files = {recordAt(inbox() + QStringLiteral("/gone.txt"), FileFolder::Inbox, now), elsewhere,
            recordAt(expired() + QStringLiteral("/gone.txt"), FileFolder::Expired, now), trashedWithDate};
        // An Inbox that cannot be listed counts as empty.
        QVERIFY(QDir(inbox()).removeRecursively());
        reconcile();
        // The first's file still exists at its path; the expiry pass drops the second.
        QCOMPARE(files, TrackedFiles({elsewhere, trashedWithDate}));
    }

    void onlyRecordsInTheManagedFoldersAreKept()
    {
        const QString secret = world->path(QStringLiteral("elsewhere/secret.doc"));
        writeFile(secret);
        QVERIFY(QFile::link(secret, inbox() + QStringLiteral("/link.doc")));
        const QDateTime now = world->clock.now();
        TrackedFile keptElsewhere = recordAt(world->path(QStringLiteral("Documents/kept.pdf")), FileFolder::Kept, now);
        keptElsewhere.kept = true;
        const TrackedFiles kept {recordAt(inbox() + QStringLiteral("/a.txt"), FileFolder::Inbox, now),
            recordAt(world->folders().kept() + QStringLiteral("/b.txt"), FileFolder::Kept, now),
            recordAt(expired() + QStringLiteral("/c.txt"), FileFolder::Expired, now), keptElsewhere};
        const TrackedFile earlierHome = recordAt(QStringLiteral("/old/home/Dropwell/Expired/d.txt"), FileFolder::Expired, now);
        files = kept;
        files.append(earlierHome);
        for (const QString& outside : QStringList {secret, inbox() + QStringLiteral("/../../elsewhere/secret.doc"),
                 inbox() + QStringLiteral("/link.doc"), inbox() + QStringLiteral("/.."), inbox(), QString()}) {
            files.append(recordAt(outside, FileFolder::Inbox, now));
            files.append(recordAt(outside, FileFolder::Kept, now)); // only a kept record may lie elsewhere
        }

        QCOMPARE(InboxIndex::confine(files, world->folders()), 12);
        TrackedFile movedHome = earlierHome;
        movedHome.path = expired() + QStringLiteral("/d.txt");
        QCOMPARE(files, kept + TrackedFiles {movedHome});
    }

    void modelListsSearchesAndUpdates()
    {
        auto model = world->makeModel();
        for (const char* name : {"Report.PNG", "notes.txt", "png-guide.md"})
            writeFile(inbox() + QLatin1Char('/') + QLatin1String(name));
        model->start();
        QCOMPARE(model->visibleInbox().size(), 3);
        model->setSearch(QStringLiteral("  PNG \n"));
        QCOMPARE(model->visibleInbox().size(), 2);
        model->setSearch(QStringLiteral("Inbox")); // in every path, but never in a name
        QCOMPARE(model->visibleInbox().size(), 0);

        // An update replaces a record in its place, and is saved.
        model->setSearch(QStringLiteral("   ")); // blank: every file again
        model->selectAllVisible();
        TrackedFile second = model->files().at(1);
        second.size = 99;
        model->index().update(second);
        QCOMPARE(model->files().at(1), second);
        QCOMPARE(Persistence(world->support()).loadIndex().value, model->files());

        // A file gone from the Inbox leaves the selection too.
        QVERIFY(QFile::remove(second.path));
        model->ingestInbox();
        QCOMPARE(model->selectedIDs().size(), 2);
        QVERIFY(!model->selectedIDs().contains(second.id));
    }
};

QTEST_GUILESS_MAIN(InboxIndexTest)
#include "tst_inbox_index.moc"
