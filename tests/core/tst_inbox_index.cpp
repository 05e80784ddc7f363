// Reconciliation of the index with the Inbox and Expired folders, and the
// lists the popover shows from it.
#include "core/InboxIndex.h"
#include "platform/FileSystem.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTest>

#include <unistd.h>

namespace {

// Reconciliation as the plain linear search it must give the same result as.
void linearPass(TrackedFiles& files, const QString& folder, FileFolder kind, const QDateTime& now)
{
    QSet<QString> seen;
    for (const FileSystem::Entry& entry : FileSystem::listRegularFiles(folder)) {
        seen.insert(entry.path);
        auto byPath = std::find_if(files.begin(), files.end(), [&](const TrackedFile& f) { return f.path == entry.path; });
        auto byName = std::find_if(files.begin(), files.end(),
            [&](const TrackedFile& f) { return f.folder == kind && f.name() == entry.name; });
        if (byPath != files.end()) {
            byPath->folder = kind;
        } else if (byName != files.end()) {
            byName->path = entry.path;
        } else {
            TrackedFile added = recordAt(entry.path, kind, now);
            added.id = QUuid(); // new ids are random: compared by path only
            kind == FileFolder::Inbox ? files.prepend(added) : files.append(added);
        }
    }
    for (TrackedFile& file : files) {
        if (file.folder == kind && !seen.contains(file.path) && !QFileInfo::exists(file.path))
            file.folder = FileFolder::Trash;
    }
}

} // namespace

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
        row("screenshot", QStringLiteral("Screenshot 2026-12-06 at 10.00.00.png"), FileSource::Screenshot);
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
        QVERIFY(!file.kept);
        if (inExpired)
            QCOMPARE(file.expiredAt, now);
        else
            QCOMPARE(file.expiresAt, source == FileSource::Screenshot ? now.addSecs(48 * 3600) : now.addDays(7));
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
        reconcile();
        QCOMPARE(files, found);
        auto model = world->makeModel();
        model->index().update(files.back());
        QVERIFY(model->inboxItems().isEmpty());

        world->clock.advance(3600);
        QVERIFY(QFile::rename(inbox() + QStringLiteral("/a.txt"), inbox() + QStringLiteral("/c.txt")));
        reconcile();
        QCOMPARE(files.size(), 3);
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

    void hashedMatchingEqualsLinearMatching()
    {
        QRandomGenerator random(7);
        const QStringList names {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"), QStringLiteral("e")};
        const QStringList places {inbox(), expired(), QStringLiteral("/old/Inbox"), QStringLiteral("/old/Expired")};
        for (int round = 0; round < 200; ++round) {
            QDir(inbox()).removeRecursively();
            QDir(expired()).removeRecursively();
            QVERIFY(world->folders().ensure().ok());
            for (const QString& name : names) {
                if (random.bounded(2))
                    writeFile(inbox() + QLatin1Char('/') + name);
                if (random.bounded(3) == 0)
                    writeFile(expired() + QLatin1Char('/') + name);
            }
            TrackedFiles records;
            for (int i = random.bounded(8); i > 0; --i) {
                const QString path = places[random.bounded(places.size())] + QLatin1Char('/') + names[random.bounded(names.size())];
                records.append(recordAt(path, FileFolder(random.bounded(3)), world->clock.now()));
            }
            TrackedFiles expected = records;
            linearPass(expected, inbox(), FileFolder::Inbox, world->clock.now());
            linearPass(expected, expired(), FileFolder::Expired, world->clock.now());
            expected.removeIf([](const TrackedFile& f) { return f.folder == FileFolder::Trash && !QFileInfo::exists(f.path); });
            files = records;
            reconcile();
            QCOMPARE(files.size(), expected.size());
            for (qsizetype i = 0; i < files.size(); ++i) {
                QCOMPARE(files[i].path, expected[i].path);
                if (!expected[i].id.isNull())
                    QCOMPARE(files[i].id, expected[i].id);
            }
        }
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
        model->setSearch(QStringLiteral("   "));
        QCOMPARE(model->visibleInbox().size(), 3);

        // An update replaces a record in its place, or puts a new one first.
        model->selectAllVisible();
        TrackedFile second = model->files().at(1);
        second.size = 99;
        model->index().update(second);
        QCOMPARE(model->files().at(1), second);
        const TrackedFile stranger = recordAt(QStringLiteral("/x/y.txt"), FileFolder::Kept, world->clock.now());
        model->index().update(stranger);
        QCOMPARE(model->files().front(), stranger);
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
