// Expiry across time: due rules, the pass, the day of grace in Expired,
// pauses, undo and the summary notification.
#include "core/ExpiryEngine.h"
#include "tests/support/StartedModel.h"

#include <QFile>
#include <QTest>

class ExpiryTest : public QObject, StartedModel {
    Q_OBJECT

    // A file landed in the Inbox at the clock's current time.
    TrackedFile land(const QString& name) { return landFile(*world, *model, name); }
    void pass(qint64 afterSeconds)
    {
        world->clock.advance(afterSeconds);
        model->expiry().runPass();
    }
    QString expired() const { return world->folders().expired(); }

private Q_SLOTS:
    void init() { begin(); }
    void cleanup() { end(); }

    void screenshotMovesWhenDueAndUndoBringsItBackForAFullPeriod()
    {
        const TrackedFile shot = land(QStringLiteral("Screenshot 1.png"));
        writeFile(expired() + QStringLiteral("/Screenshot 1.png"), "older");
        model->setSelectedIDs({shot.id});

        pass(48 * 3600 - 1);
        QCOMPARE(namesIn(expired()), QStringList(QStringLiteral("Screenshot 1.png")));
        pass(1);
        QCOMPARE(namesIn(expired()), QStringList({QStringLiteral("Screenshot 1 (2).png"), QStringLiteral("Screenshot 1.png")}));
        const TrackedFile moved = model->expiredItems().front();
        QCOMPARE(moved.id, shot.id);
        QCOMPARE(moved.path, expired() + QStringLiteral("/Screenshot 1 (2).png"));
        QCOMPARE(*moved.expiredAt, world->clock.now());
        QVERIFY(model->selectedIDs().isEmpty());
        QVERIFY(model->inboxItems().isEmpty());
        verifySaved();

        writeFile(inbox() + QStringLiteral("/Screenshot 1.png"), "a new one");
        world->clock.advance(3600);
        model->expiry().undoLast();
        const TrackedFile back = model->inboxItems().back();
        QCOMPARE(back.id, shot.id);
        QCOMPARE(back.path, inbox() + QStringLiteral("/Screenshot 1 (2).png"));
        QCOMPARE(back.landedAt, world->clock.now());
        QCOMPARE(*back.expiresAt, world->clock.now().addSecs(48 * 3600));
        QVERIFY(!back.expiredAt);
        QCOMPARE(readFile(inbox() + QStringLiteral("/Screenshot 1.png")), QByteArray("a new one"));
        QVERIFY(!model->toast());

        // Once more, but the file has vanished from Expired meanwhile.
        pass(48 * 3600);
        QVERIFY(QFile::remove(expired() + QStringLiteral("/Screenshot 1 (2).png")));
        const TrackedFiles before = model->files();
        model->expiry().undoLast();
        QCOMPARE(model->toast(), QStringLiteral("Could not undo expiry for 'Screenshot 1 (2).png'."));
        QCOMPARE(model->files(), before);
    }

    void expiredFilesGoToTheTrashAfterADayUnlessItRefuses()
    {
        const TrackedFile first = land(QStringLiteral("a.txt"));
        world->clock.advance(86400);
        const TrackedFile second = land(QStringLiteral("b.txt"));
        pass(6 * 86400);
        world->trash.refuse = true;
        pass(86400); // a.txt's day in Expired is over
        // The refused file stays, and so does its record; the pass's other move
        // is made and saved.
        QCOMPARE(namesIn(expired()), QStringList({QStringLiteral("a.txt"), QStringLiteral("b.txt")}));
        QCOMPARE(model->expiredItems().size(), 2);
        QCOMPARE(model->expiredItems().back().id, first.id);
        QCOMPARE(model->expiredItems().back().path, expired() + QStringLiteral("/a.txt"));
        verifySaved();

        world->trash.refuse = false;
        pass(0);
        QCOMPARE(namesIn(world->trashFiles()), QStringList(QStringLiteral("a.txt")));
        QCOMPARE(model->files().size(), 1);
        QCOMPARE(model->files().front().id, second.id);
        verifySaved();
        QVERIFY(world->notifications.delivered.empty()); // notifications are off by default
    }

    void thePeriodicPassMovesOnlyUnkeptFilesInTheManagedFolders()
    {
        // A hand-edited index claims files elsewhere are in the Inbox and Expired.
        const QString documents = world->path(QStringLiteral("Documents"));
        writeFile(documents + QStringLiteral("/taxes.pdf"));
        writeFile(documents + QStringLiteral("/thesis.pdf"));
        TrackedFile inInbox = recordAt(documents + QStringLiteral("/taxes.pdf"), FileFolder::Inbox, world->clock.now());
        inInbox.expiresAt = world->clock.now();
        TrackedFile inExpired = recordAt(documents + QStringLiteral("/thesis.pdf"), FileFolder::Expired, world->clock.now());
        inExpired.expiredAt = world->clock.now().addDays(-30);
        model->index().update(inInbox);
        model->index().update(inExpired);
        TrackedFile kept = land(QStringLiteral("kept.txt"));
        kept.kept = true;
        model->index().update(kept);
        land(QStringLiteral("a.txt"));
        world->timers.advance(std::chrono::days(7)); // the passes run by themselves
        QCOMPARE(namesIn(expired()), QStringList(QStringLiteral("a.txt")));
        QCOMPARE(namesIn(documents), QStringList({QStringLiteral("taxes.pdf"), QStringLiteral("thesis.pdf")}));
        QCOMPARE(namesIn(inbox()), QStringList(QStringLiteral("kept.txt"))); // kept files never move
        QCOMPARE(model->files().size(), 4);
    }

    void pauseHoldsEverything()
    {
        land(QStringLiteral("a.txt"));
        writeFile(expired() + QStringLiteral("/old.txt"));
        model->ingestInbox();
        world->clock.advance(6 * 86400 + 23 * 3600);
        model->expiry().pauseFor24Hours();
        QCOMPARE(model->expiry().expireTonightCount(), 0);
        pass(3600);
        QCOMPARE(namesIn(inbox()), QStringList(QStringLiteral("a.txt")));
        QCOMPARE(namesIn(expired()), QStringList(QStringLiteral("old.txt")));

        world->clock.advance(23 * 3600); // the pause ends by itself
        QCOMPARE(model->expiry().expireTonightCount(), 1);
        pass(0);
        QCOMPARE(namesIn(inbox()), QStringList());
        model->expiry().pauseUntilMonday();
        QVERIFY(model->expiry().isPaused());
    }

    void aChangedScreenshotDurationCountsAtOnceAndMovesAtTheNextPass()
    {
        land(QStringLiteral("a.txt")); // due in 7 days
        model->expiry().setScreenshotExpiryHours(18);
        land(QStringLiteral("Screenshot 1.png")); // due in exactly 18 hours
        land(QStringLiteral("Screenshot 2.png"));
        QCOMPARE(model->expiry().expireTonightCount(), 2);
        model->expiry().setScreenshotExpiryHours(19);
        QCOMPARE(model->expiry().expireTonightCount(), 0);
        pass(2 * 3600);
        model->expiry().setScreenshotExpiryHours(1);
        QCOMPARE(model->inboxItems().size(), 3); // the change alone moves nothing
        pass(0);
        QCOMPARE(model->inboxItems().size(), 1);
    }

    void nextMondayNine_data()
    {
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QDateTime>("expected");
        const auto utc = [](int m, int d, int h, int min = 0) { return QDateTime(QDate(2026, m, d), QTime(h, min), Qt::UTC); };
        const QString berlin = QStringLiteral("Europe/Berlin");
        // 2026-03-02 is a Monday; Berlin is one hour ahead of UTC in winter.
        QTest::addRow("Monday before nine") << berlin << utc(3, 2, 7) << utc(3, 2, 8);
        QTest::addRow("Monday at nine") << berlin << utc(3, 2, 8) << utc(3, 9, 8);
        // Clocks go forward on Sunday 29 March: 09:00 on the 30th is 07:00 UTC.
        QTest::addRow("across spring forward") << berlin << utc(3, 28, 12) << utc(3, 30, 7);
        // And back on Sunday 25 October: 09:00 on the 26th is 08:00 UTC again.
        QTest::addRow("across fall back") << berlin << utc(10, 25, 0, 30) << utc(10, 26, 8);
        // Sunday evening in New York is already Monday in UTC.
        QTest::addRow("local day, not UTC day") << QStringLiteral("America/New_York") << utc(3, 2, 2) << utc(3, 2, 14);
        // Monday 01:00 in Auckland: nine o'clock that same Monday.
        QTest::addRow("east of UTC") << QStringLiteral("Pacific/Auckland") << utc(3, 1, 12) << utc(3, 1, 20);
    }
    void nextMondayNine()
    {
        QFETCH(QString, zone);
        QFETCH(QDateTime, now);
        QFETCH(QDateTime, expected);
        const QTimeZone timeZone(zone.toLatin1());
        QVERIFY(timeZone.isValid());
        QCOMPARE(ExpiryEngine::nextMondayNine(now, timeZone), expected);
    }

    void notifications()
    {
        model->expiry().setNotificationsEnabled(true);
        land(QStringLiteral("a.txt"));
        land(QStringLiteral("b.txt"));
        world->clock.advance(3600);
        land(QStringLiteral("c.txt"));
        pass(7 * 86400 - 3600);
        const auto& delivered = world->notifications.delivered;
        QCOMPARE(delivered.size(), size_t(1));
        QCOMPARE(delivered.front().body, QStringLiteral("2 files expired. 1 more expires soon."));

        pass(3600);
        QCOMPARE(delivered.size(), size_t(2));
        QCOMPARE(delivered.back().body, QStringLiteral("1 file expired."));
        QVERIFY(delivered.back().identifier != delivered.front().identifier);
        pass(86400); // only moves to the Trash now
        QCOMPARE(delivered.size(), size_t(2));
        QVERIFY(model->files().isEmpty());
    }

    void aLargePassGoesInSlicesAndSummarisesOnce()
    {
        model->expiry().setNotificationsEnabled(true);
        for (int i = 0; i < 600; ++i)
            writeFile(inbox() + QStringLiteral("/file %1.txt").arg(i));
        model->ingestInbox();
        pass(7 * 86400);
        // The event loop gets its turn between slices; the summary waits for the last.
        QCOMPARE(model->inboxItems().size(), 350);
        QVERIFY(world->notifications.delivered.empty());
        model->expiry().runPass(); // asked again meanwhile: the pass under way goes on alone
        QCOMPARE(model->inboxItems().size(), 350);
        world->timers.advance(std::chrono::milliseconds(0));
        QCOMPARE(model->inboxItems().size(), 0);
        QCOMPARE(namesIn(expired()).size(), 600);
        QCOMPARE(world->notifications.delivered.size(), size_t(1));
        QCOMPARE(world->notifications.delivered.front().body, QStringLiteral("600 files expired."));
        verifySaved();
    }

    // Hours and days on the sliders are the settings window's; one day is
    // never "24 hours" nor "1 days".
    void oneDayIsCalledOneDay() { QCOMPARE(ExpiryEngine::labelHours(24), QStringLiteral("1 day")); }
};

QTEST_GUILESS_MAIN(ExpiryTest)
#include "tst_expiry.moc"
