// What the user does to tracked files, seen in the index, the selection, the
// toast and on disk.
#include "tests/support/StartedModel.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <array>

class ModelActionsTest : public QObject, StartedModel {
    Q_OBJECT

    TrackedFile land(const QString& name, const QByteArray& contents = "x")
    {
        world->clock.advance(1); // landing order is newest first
        return landFile(*world, *model, name, contents);
    }
    // a.txt to d.txt, d.txt the newest.
    std::array<TrackedFile, 4> landFour()
    {
        return {land(QStringLiteral("a.txt")), land(QStringLiteral("b.txt")), land(QStringLiteral("c.txt")), land(QStringLiteral("d.txt"))};
    }
    TrackedFile current(const QUuid& id) const
    {
        for (const TrackedFile& file : model->files()) {
            if (file.id == id)
                return file;
        }
        return {};
    }

private Q_SLOTS:
    void init() { begin(); }
    void cleanup() { end(); }

    void keepTakesAFreeNameStaysTrackedAndNeverGoesIntoTheExpiringFolders()
    {
        writeFile(world->folders().kept() + QStringLiteral("/report.pdf"), "older");
        const TrackedFile report = land(QStringLiteral("report.pdf"));
        model->setSelectedIDs({report.id});
        model->keep(model->selectedFiles());
        const TrackedFile kept = current(report.id);
        QCOMPARE(kept.path, world->folders().kept() + QStringLiteral("/report (2).pdf"));
        QVERIFY(kept.kept);
        QCOMPARE(kept.folder, FileFolder::Kept);
        QVERIFY(!kept.expiresAt);
        QVERIFY(model->selectedIDs().isEmpty());
        QVERIFY(model->inboxItems().isEmpty());
        verifySaved();

        model->setKeepDestination(KeepDestination::Documents);
        const TrackedFile file = land(QStringLiteral("a.txt"));
        model->keep({file});
        QCOMPARE(current(file.id).path, world->folders().documents() + QStringLiteral("/a.txt"));

        // Choosing and cancelling the Keep folder are the settings window's;
        // what it must refuse is here.
        world->fileManager.nextChoice = inbox();
        model->setKeepDestination(KeepDestination::Other);
        QCOMPARE(model->settings().keepDestination, KeepDestination::Documents);
        QCOMPARE(model->toast(), QStringLiteral("Choose a Keep folder outside Dropwell's Inbox and Expired folders."));
        // A hand-edited settings file points the Keep folder at the Inbox.
        model->changeSettings([&](AppSettings& s) {
            s.keepDestination = KeepDestination::Other;
            s.keepDestinationPath = inbox() + QStringLiteral("/../Inbox");
        });
        const TrackedFile refused = land(QStringLiteral("b.txt"));
        model->keep({refused});
        QCOMPARE(model->toast(), QStringLiteral("Could not keep 'b.txt'."));
        QCOMPARE(current(refused.id), refused);
        QCOMPARE(namesIn(inbox()), QStringList(QStringLiteral("b.txt")));
    }

    void keepGoesOnPastFailuresAndAcrossDisks()
    {
        QString why;
        const auto disk = ScopedMount::mount(world->path(QStringLiteral("usb")), "size=256k", why);
        if (!disk)
            QSKIP(qPrintable(why));
        model->changeSettings([&](AppSettings& s) {
            s.keepDestination = KeepDestination::Other;
            s.keepDestinationPath = disk->path();
        });
        const TrackedFile gone = land(QStringLiteral("gone.txt"));
        const TrackedFile small = land(QStringLiteral("small.txt"), QByteArray(1000, 's'));
        const TrackedFile big = land(QStringLiteral("big.bin"), QByteArray(1 << 20, 'b'));
        QVERIFY(QFile::remove(gone.path));
        model->setSelectedIDs({gone.id, small.id, big.id});
        model->keep({gone, small, big});
        // Each failure leaves its record and selection alone; the batch goes on.
        QCOMPARE(current(gone.id), gone);
        QCOMPARE(current(big.id), big);
        QCOMPARE(model->selectedIDs(), QSet<QUuid>({gone.id, big.id}));
        QCOMPARE(current(small.id).path, disk->path() + QStringLiteral("/small.txt"));
        QCOMPARE(readFile(disk->path() + QStringLiteral("/small.txt")), QByteArray(1000, 's'));
        QCOMPARE(model->toast(), QStringLiteral("Could not keep 'big.bin'."));
        QCOMPARE(readFile(big.path), QByteArray(1 << 20, 'b'));
        QCOMPARE(namesIn(disk->path()), QStringList(QStringLiteral("small.txt")));
    }

    void moveOutForgetsToKeptKeepsIntoDropwellIsRefusedAndChosenAsks()
    {
        const auto [a, b, c, d] = landFour();
        model->setSelectedIDs({a.id, b.id, c.id});
        const QString target = world->path(QStringLiteral("Projects"));
        model->move({a, b}, target + QStringLiteral("/"));
        QCOMPARE(namesIn(target), QStringList({QStringLiteral("a.txt"), QStringLiteral("b.txt")}));
        QCOMPARE(model->files().size(), 2);
        QCOMPARE(model->selectedIDs(), QSet<QUuid>({c.id}));
        QCOMPARE(model->recentMoveFolders(), QStringList(target));
        verifySaved();

        model->move({c}, world->folders().kept());
        QVERIFY(current(c.id).kept);
        QCOMPARE(current(c.id).folder, FileFolder::Kept);

        model->move({d}, inbox());
        QCOMPARE(model->toast(), QStringLiteral("Could not move 'd.txt'."));
        model->move({d}, world->folders().expired());
        QCOMPARE(current(d.id), d);
        QVERIFY(!model->recentMoveFolders().contains(inbox()));
        QCOMPARE(namesIn(inbox()), QStringList(QStringLiteral("d.txt")));

        model->setSelectedIDs({d.id});
        model->chooseMove({}); // the user cancels
        QCOMPARE(world->fileManager.lastAcceptLabel, QStringLiteral("Move"));
        QCOMPARE(current(d.id), d);
        world->previewer.visible = true;
        world->fileManager.nextChoice = world->path(QStringLiteral("chosen"));
        model->chooseMove({});
        QVERIFY(!world->previewer.visible); // the preview makes way for the chooser
        QCOMPARE(namesIn(world->path(QStringLiteral("chosen"))), QStringList(QStringLiteral("d.txt")));
    }

    void recentFolders()
    {
        QStringList folders;
        for (int i = 1; i <= 6; ++i) {
            folders.prepend(world->path(QStringLiteral("dest%1").arg(i)));
            model->move({land(QStringLiteral("f%1.txt").arg(i))}, folders.front());
        }
        QCOMPARE(model->recentMoveFolders(), folders.mid(0, 5));
        model->move({land(QStringLiteral("again.txt"))}, folders[3]);
        QCOMPARE(model->recentMoveFolders(), QStringList({folders[3], folders[0], folders[1], folders[2], folders[4]}));
        QVERIFY(QDir(folders[0]).removeRecursively());
        model->move({land(QStringLiteral("last.txt"))}, folders[1]);
        QVERIFY(!model->recentMoveFolders().contains(folders[0]));
        // A failed move remembers the folder all the same.
        const TrackedFile gone = land(QStringLiteral("gone.txt"));
        QFile::remove(gone.path);
        const QString other = world->path(QStringLiteral("other"));
        QDir().mkpath(other);
        model->move({gone}, other);
        QCOMPARE(model->recentMoveFolders().front(), other);
    }

    void deleteSendsToTheTrash()
    {
        const TrackedFile a = land(QStringLiteral("a.txt"));
        const TrackedFile gone = land(QStringLiteral("gone.txt"));
        QFile::remove(gone.path);
        model->setSelectedIDs({a.id, gone.id});
        model->deleteFiles(model->selectedFiles());
        QCOMPARE(namesIn(world->trashFiles()), QStringList(QStringLiteral("a.txt")));
        QCOMPARE(model->toast(), QStringLiteral("Could not move 'gone.txt' to Trash."));
        QCOMPARE(model->files(), TrackedFiles({gone}));
        QCOMPARE(model->selectedIDs(), QSet<QUuid>({gone.id}));
        verifySaved();
    }

    void renamePicksItsTargetAndCommitsOrSaysWhy()
    {
        const TrackedFile older = land(QStringLiteral("older.txt"));
        const TrackedFile photo = land(QStringLiteral("photo.png"));
        model->beginRename();
        QCOMPARE(model->renamingID(), photo.id); // the first visible row, now selected alone
        QCOMPARE(model->selectedIDs(), QSet<QUuid>({photo.id}));
        model->setSelectedIDs({older.id});
        model->beginRename();
        QCOMPARE(model->renamingID(), older.id);

        model->beginRename(photo);
        model->commitRename(photo, QStringLiteral("holiday"));
        QVERIFY(!model->renamingID());
        QCOMPARE(current(photo.id).path, inbox() + QStringLiteral("/holiday.png"));
        QCOMPARE(current(photo.id).landedAt, photo.landedAt); // a rename by Dropwell is no new arrival
        model->commitRename(current(photo.id), QStringLiteral(" . "));
        QCOMPARE(model->toast(), QStringLiteral("Could not rename 'holiday.png'."));
    }

    void copyAndRevealTheSelection()
    {
        const TrackedFile png = land(QStringLiteral("shot.PNG"));
        const TrackedFile txt = land(QStringLiteral("notes.txt"));
        model->copySelected(); // nothing selected: the first visible file
        QCOMPARE(world->clipboard.files, QStringList(txt.path));
        QVERIFY(!world->clipboard.hasPicture);
        model->setSelectedIDs({png.id});
        model->copySelected();
        QCOMPARE(world->clipboard.files, QStringList(png.path));
        QVERIFY(world->clipboard.hasPicture);
        model->setSelectedIDs({png.id, txt.id});
        model->copySelected();
        QCOMPARE(world->clipboard.files, QStringList({txt.path, png.path}));
        QVERIFY(!world->clipboard.hasPicture);
        model->revealSelected();
        QCOMPARE(world->fileManager.shownItems, QStringList({txt.path, png.path}));
    }

    void previewTargets()
    {
        const auto [a, b, c, d] = landFour();
        model->setSelectedIDs({a.id, b.id, c.id});
        model->togglePreviewOf(b);
        QCOMPARE(world->previewer.shown, QStringList({c.path, b.path, a.path}));
        QCOMPARE(world->previewer.current, 1);
        model->togglePreviewOf(b); // a second time closes it
        QVERIFY(!world->previewer.visible);
        model->togglePreviewOf(d);
        QCOMPARE(world->previewer.shown, QStringList(d.path));
    }
};

QTEST_GUILESS_MAIN(ModelActionsTest)
#include "tst_model_actions.moc"
