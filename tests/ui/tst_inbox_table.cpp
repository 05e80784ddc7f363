// The Inbox list: selection in step with the model both ways, selection
// mode, inline rename, the context menu, dragging out and the scroll position.
#include "tests/support/SampleFiles.h"
#include "tests/ui/PopoverFixture.h"
#include "ui/inbox/InboxListModel.h"
#include "ui/inbox/InboxRowDelegate.h"
#include "ui/inbox/InboxTableView.h"

#include <QBitmap>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

class InboxTableTest : public QObject, private PopoverFixture {
    Q_OBJECT
private Q_SLOTS:
    void init() { openAfresh(); }
    void cleanup() { dropAll(); }

    void selectionFollowsBothWaysWithoutEchoAndTheCheckCircleToggles()
    {
        land({QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt")});
        QTest::mouseClick(table().viewport(), Qt::LeftButton, {}, rowRect(0).center());
        QCOMPARE(model->selectedFiles().size(), 1);
        QCOMPARE(model->selectedFiles().front().name(), QStringLiteral("c.txt"));
        QTest::mouseClick(table().viewport(), Qt::LeftButton, Qt::ShiftModifier, rowRect(2).center());
        QCOMPARE(model->selectedIDs().size(), 3);

        QSignalSpy changes(model.get(), &AppModel::selectedIDsChanged);
        model->setSelectedIDs({model->visibleInbox().at(1).id});
        QCOMPARE(changes.count(), 1); // the table follows without bouncing a change back
        QCOMPARE(table().selectionModel()->selectedRows(), QModelIndexList({table().model()->index(1, 0)}));

        // In selection mode the check circle toggles its row.
        model->setSelecting(true);
        model->setSelectedIDs({model->visibleInbox().at(0).id});
        // Just outside the circle, within the 6-pixel margin.
        const QRect hit = InboxRowDelegate::checkHitArea(rowRect(2));
        QTest::mouseClick(table().viewport(), Qt::LeftButton, {}, hit.topLeft() + QPoint(1, 1));
        QCOMPARE(model->selectedIDs().size(), 2);
        QTest::mouseClick(table().viewport(), Qt::LeftButton, {}, hit.center());
        QCOMPARE(model->selectedIDs().size(), 1);
        // Elsewhere on the row: a plain click selects that row alone.
        QTest::mouseClick(table().viewport(), Qt::LeftButton, {}, rowRect(1).center() + QPoint(80, 0));
        QCOMPARE(model->selectedIDs(), QSet<QUuid>({model->visibleInbox().at(1).id}));
    }

    // The base name is selected to be typed over (where the extension ends is
    // FileNames', tst_file_actions); the name typed goes to the record being
    // renamed wherever it is by then, and a blank or unchanged one renames
    // nothing and says nothing. Escape in the name is tst_hotkeys'.
    void renameCommitsToTheRecordBeingRenamed()
    {
        land({QStringLiteral("backup.tar.gz"), QStringLiteral("b.txt")});
        model->beginRename(model->visibleInbox().at(1));
        QTRY_VERIFY(editor());
        QCOMPARE(editor()->text(), QStringLiteral("backup.tar.gz"));
        QCOMPARE(editor()->selectedText(), QStringLiteral("backup.tar"));
        // A new file arrives while the name is being typed: the rows shift.
        land({QStringLiteral("c.txt")});
        editor()->setText(QStringLiteral("  apple  "));
        QTest::keyClick(editor(), Qt::Key_Return);
        QTRY_VERIFY(!model->renamingID());
        const QStringList renamed {QStringLiteral("apple.gz"), QStringLiteral("b.txt"), QStringLiteral("c.txt")};
        QTRY_COMPARE(namesIn(world->folders().inbox()), renamed);

        // The record being renamed leaves the list meanwhile: the name is dropped.
        model->beginRename(model->visibleInbox().at(1)); // b.txt
        QTRY_VERIFY(editor());
        editor()->setText(QStringLiteral("banana"));
        model->setSearch(QStringLiteral("apple"));
        QTRY_VERIFY(!model->renamingID());

        for (const QString& typed : {QStringLiteral("   "), QStringLiteral("apple.gz")}) {
            model->beginRename(model->visibleInbox().front()); // apple.gz
            QTRY_VERIFY(editor());
            editor()->setText(typed);
            QTest::keyClick(editor(), Qt::Key_Return);
            QTRY_VERIFY(!model->renamingID());
        }
        QVERIFY(!model->toast());
        QCOMPARE(namesIn(world->folders().inbox()), renamed);
    }

    void contextMenuTargetsAndDragCarriesFileUrls()
    {
        land({QStringLiteral("a b.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt")});
        std::unique_ptr<QMimeData> data(table().model()->mimeData({table().model()->index(2, 0)}));
        QCOMPARE(data->urls(), QList<QUrl>({QUrl::fromLocalFile(world->folders().inbox() + QStringLiteral("/a b.txt"))}));
        QVERIFY(!table().contextMenuAt(QPoint(10, 460))); // empty space, nothing selected
        model->setSelectedIDs({model->visibleInbox().at(0).id, model->visibleInbox().at(1).id});
        const auto menu = table().contextMenuAt(rowRect(2).center());
        QVERIFY(menu);
        QCOMPARE(model->selectedFiles().size(), 1);
        QCOMPARE(model->selectedFiles().front().name(), QStringLiteral("a b.txt"));
        QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("Keep"));
        menu->actions().at(0)->trigger();
        QTRY_COMPARE(namesIn(world->folders().kept()), QStringList(QStringLiteral("a b.txt")));
    }

    void metadataRefreshKeepsTheScrollPosition()
    {
        QStringList names;
        for (int i = 0; i < 40; ++i)
            names.append(QStringLiteral("file %1.txt").arg(i, 2, 10, QLatin1Char('0')));
        land(names);
        QTRY_VERIFY(table().verticalScrollBar()->maximum() > 300);
        table().verticalScrollBar()->setValue(300);
        QSignalSpy resets(table().model(), &QAbstractItemModel::modelReset);
        model->expiry().setScreenshotExpiryHours(6); // every due time changes, no row does
        QCOMPARE(resets.count(), 0);
        QCOMPARE(table().verticalScrollBar()->value(), 300);
        land({QStringLiteral("new.txt")}); // a new row reloads, the place stays
        QCOMPARE(table().verticalScrollBar()->value(), 300);
    }

    void picturesGetTheirThumbnailOnceItIsMade()
    {
        landFile(*world, *model, QStringLiteral("shot.png"), png(QSize(300, 200)));
        world->clock.advance(1);
        land({QStringLiteral("notes.txt")});
        const QModelIndex picture = table().model()->index(1, 0);

        // The row is repainted when the thumbnail arrives; no red before, red after.
        const auto redWidth = [this](int row) {
            const QImage shown = table().viewport()->grab(rowRect(row)).toImage();
            return QRegion(QBitmap::fromImage(shown.createMaskFromColor(qRgb(255, 0, 0), Qt::MaskOutColor))).boundingRect().width();
        };
        QTRY_VERIFY(!picture.data(InboxListModel::ThumbnailRole).value<QPixmap>().isNull());
        QVERIFY(redWidth(1) > 20);
        QCOMPARE(redWidth(0), 0); // a text file keeps its symbol (tst_thumbnails)
        // The thumbnail went to the private cache, where other programs find it too.
        QCOMPARE(QDir(world->path(QStringLiteral("cache/thumbnails/normal"))).entryList(QDir::Files).size(), 1);
    }

private:
    QRect rowRect(int row) const { return table().visualRect(table().model()->index(row, 0)); }
    InboxTableView& table() const { return popover->table(); }
    // The open name editor (a closed one lingers hidden until deleted).
    QLineEdit* editor() const
    {
        for (auto* field : table().viewport()->findChildren<QLineEdit*>()) {
            if (field->isVisible())
                return field;
        }
        return nullptr;
    }
};

QTEST_MAIN(InboxTableTest)
#include "tst_inbox_table.moc"
