// Expiry across time: due rules, the pass, the day of grace in Expired,
// pauses, undo and the summary notification.
#include "core/ExpiryEngine.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

class ExpiryTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void screenshotMovesWhenDue();
    void shorterSettingAppliesAtTheNextPass();
    void durationsAreBounded_data();
    void durationsAreBounded();
    void expiredFilesGoToTheTrashAfterADay();
    void aFileTheTrashRefusesWaitsInExpired();
    void onlyUnkeptFilesInTheManagedFoldersMove();
    void pauseHoldsEverything();
    void nextMondayNine_data();
    void nextMondayNine();
    void undoBringsAFileBackForAFullPeriod();
    void undoOfAVanishedFileSaysSo();
    void soonCount();
    void notifications();
    void passRunsEveryPeriodAfterStart();
    void labelHours_data();
    void labelHours();

private:
    // A file landed in the Inbox at the clock's current time.
    TrackedFile land(const QString& name);
    QString inbox() const { return world->folders().inbox(); }
    QString expired() const { return world->folders().expired(); }

    std::unique_ptr<TestWorld> world;
    std::unique_ptr<AppModel> model;
};

void ExpiryTest::init()
{
    world = std::make_unique<TestWorld>();
    model = world->makeModel();
    model->start();
}

void ExpiryTest::cleanup()
{
    model.reset();
    world.reset();
}

TrackedFile ExpiryTest::land(const QString& name) { return landFile(*world, *model, name); }

void ExpiryTest::screenshotMovesWhenDue()
{
    const TrackedFile shot = land(QStringLiteral("Screenshot 1.png"));
    const TrackedFile doc = land(QStringLiteral("report.pdf"));
    QCOMPARE(*shot.expiresAt, shot.landedAt.addSecs(48 * 3600));
    QCOMPARE(*doc.expiresAt, doc.landedAt.addDays(7));
    writeFile(expired() + QStringLiteral("/Screenshot 1.png"), "older");
    model->setSelectedIDs({shot.id});

    world->clock.advance(48 * 3600 - 1);
    model->runExpiryPass();
    QCOMPARE(namesIn(expired()), QStringList(QStringLiteral("Screenshot 1.png")));

    world->clock.advance(1);
    model->runExpiryPass();
    QCOMPARE(namesIn(expired()), QStringList({QStringLiteral("Screenshot 1 (2).png"), QStringLiteral("Screenshot 1.png")}));
    const TrackedFiles gone = model->expiredItems();
    const auto record = std::find_if(gone.begin(), gone.end(), [&](const TrackedFile& f) { return f.id == shot.id; });
    QVERIFY(record != gone.end());
    QCOMPARE(record->path, expired() + QStringLiteral("/Screenshot 1 (2).png"));
    QCOMPARE(*record->expiredAt, world->clock.now());
    QVERIFY(model->selectedIDs().isEmpty());
    QCOMPARE(model->inboxItems().size(), 1);
    QCOMPARE(Persistence(world->support()).loadIndex().value, model->files());
}

void ExpiryTest::shorterSettingAppliesAtTheNextPass()
{
    land(QStringLiteral("Screenshot 1.png"));
    world->clock.advance(2 * 3600);
    model->runExpiryPass();
    QCOMPARE(model->inboxItems().size(), 1);
    model->setScreenshotExpiryHours(1);
    QCOMPARE(model->inboxItems().size(), 1); // the change alone moves nothing
    model->runExpiryPass();
    QCOMPARE(model->inboxItems().size(), 0);
    QCOMPARE(Persistence(world->support()).loadSettings().value.screenshotExpiryHours, 1);
}

void ExpiryTest::durationsAreBounded_data()
{
    QTest::addColumn<qint64>("hours");
    QTest::addColumn<qint64>("days");
    QTest::addColumn<qint64>("shotSeconds");
    QTest::addColumn<qint64>("docSeconds");
    const qint64 longest = ExpiryEngine::longestDurationHours * 3600;
    QTest::addRow("zero") << qint64(0) << qint64(0) << qint64(3600) << qint64(86400);
    QTest::addRow("negative") << qint64(-5) << qint64(-2) << qint64(3600) << qint64(86400);
    QTest::addRow("hand-edited huge") << std::numeric_limits<qint64>::max() << std::numeric_limits<qint64>::max()
                                      << longest << longest;
}

void ExpiryTest::durationsAreBounded()
{
    QFETCH(qint64, hours);
    QFETCH(qint64, days);
    QFETCH(qint64, shotSeconds);
    QFETCH(qint64, docSeconds);
    model->setScreenshotExpiryHours(hours);
    model->setOtherExpiryDays(days);
    const TrackedFile shot = land(QStringLiteral("Screenshot 1.png"));
    const TrackedFile doc = land(QStringLiteral("a.txt"));
    QCOMPARE(*shot.expiresAt, shot.landedAt.addSecs(shotSeconds));
    QCOMPARE(*doc.expiresAt, doc.landedAt.addSecs(docSeconds));
    // What was saved reads back.
    QCOMPARE(Persistence(world->support()).loadIndex().state, Persistence::LoadState::Loaded);
}

void ExpiryTest::expiredFilesGoToTheTrashAfterADay()
{
    land(QStringLiteral("a.txt"));
    world->clock.advance(7 * 86400);
    model->runExpiryPass();
    QCOMPARE(model->expiredItems().size(), 1);
    world->clock.advance(86400 - 60);
    model->runExpiryPass();
    QCOMPARE(model->expiredItems().size(), 1);
    world->clock.advance(60);
    model->runExpiryPass();
    QVERIFY(model->files().isEmpty());
    QCOMPARE(namesIn(expired()), QStringList());
    QCOMPARE(namesIn(world->trashFiles()), QStringList(QStringLiteral("a.txt")));
    QVERIFY(world->notifications.delivered.empty()); // notifications are off by default
}

void ExpiryTest::aFileTheTrashRefusesWaitsInExpired()
{
    const TrackedFile first = land(QStringLiteral("a.txt"));
    world->clock.advance(86400);
    const TrackedFile second = land(QStringLiteral("b.txt"));
    world->clock.advance(6 * 86400);
    model->runExpiryPass();
    world->trash.refuse = true;
    world->clock.advance(86400);
    model->runExpiryPass();
    // The refused file stays, and so does its record; the pass's other move
    // is made and saved.
    QCOMPARE(namesIn(expired()), QStringList({QStringLiteral("a.txt"), QStringLiteral("b.txt")}));
    QCOMPARE(model->expiredItems().size(), 2);
    QCOMPARE(model->expiredItems().back().id, first.id);
    QCOMPARE(model->expiredItems().back().path, expired() + QStringLiteral("/a.txt"));
    QCOMPARE(Persistence(world->support()).loadIndex().value, model->files());

    world->trash.refuse = false;
    model->runExpiryPass();
    QCOMPARE(namesIn(world->trashFiles()), QStringList(QStringLiteral("a.txt")));
    QCOMPARE(model->files().size(), 1);
    QCOMPARE(model->files().front().id, second.id);
    QCOMPARE(Persistence(world->support()).loadIndex().value, model->files());
}

void ExpiryTest::onlyUnkeptFilesInTheManagedFoldersMove()
{
    // A hand-edited index claims files elsewhere are in the Inbox and Expired.
    const QString documents = world->path(QStringLiteral("Documents"));
    writeFile(documents + QStringLiteral("/taxes.pdf"));
    writeFile(documents + QStringLiteral("/thesis.pdf"));
    TrackedFile inInbox = recordAt(documents + QStringLiteral("/taxes.pdf"), FileFolder::Inbox, world->clock.now());
    inInbox.expiresAt = world->clock.now();
    TrackedFile inExpired = recordAt(documents + QStringLiteral("/thesis.pdf"), FileFolder::Expired, world->clock.now());
    inExpired.expiredAt = world->clock.now().addDays(-30);
    model->update(inInbox);
    model->update(inExpired);
    TrackedFile kept = land(QStringLiteral("kept.txt"));
    kept.kept = true;
    model->update(kept);
    world->clock.advance(400 * 86400);
    model->runExpiryPass();
    QCOMPARE(namesIn(documents), QStringList({QStringLiteral("taxes.pdf"), QStringLiteral("thesis.pdf")}));
    QCOMPARE(namesIn(inbox()), QStringList(QStringLiteral("kept.txt"))); // kept files never move
    QCOMPARE(model->files().size(), 3);
}

void ExpiryTest::pauseHoldsEverything()
{
    land(QStringLiteral("a.txt"));
    writeFile(expired() + QStringLiteral("/old.txt"));
    model->ingestInbox();
    world->clock.advance(6 * 86400 + 23 * 3600);
    model->pauseExpiryFor24Hours();
    QVERIFY(model->isExpiryPaused());
    QCOMPARE(model->expireTonightCount(), 0);
    world->clock.advance(3600);
    model->runExpiryPass();
    QCOMPARE(namesIn(inbox()), QStringList(QStringLiteral("a.txt")));
    QCOMPARE(namesIn(expired()), QStringList(QStringLiteral("old.txt")));

    world->clock.advance(23 * 3600); // the pause ends by itself
    QCOMPARE(model->expireTonightCount(), 1);
    model->runExpiryPass();
    QCOMPARE(namesIn(inbox()), QStringList());
    QVERIFY(model->settings().expiryPausedUntil.has_value());

    model->pauseExpiryUntilMonday();
    QVERIFY(model->isExpiryPaused());
    model->resumeExpiry();
    QVERIFY(!model->isExpiryPaused());
    QVERIFY(!Persistence(world->support()).loadSettings().value.expiryPausedUntil.has_value());
}

void ExpiryTest::nextMondayNine_data()
{
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QDateTime>("expected");
    const auto utc = [](int y, int m, int d, int h, int min = 0) { return QDateTime(QDate(y, m, d), QTime(h, min), Qt::UTC); };
    // 2026-03-02 is a Monday; Berlin is one hour ahead of UTC in winter.
    QTest::addRow("Monday before nine") << QStringLiteral("Europe/Berlin") << utc(2026, 3, 2, 7) << utc(2026, 3, 2, 8);
    QTest::addRow("Monday at nine") << QStringLiteral("Europe/Berlin") << utc(2026, 3, 2, 8) << utc(2026, 3, 9, 8);
    QTest::addRow("Monday after nine") << QStringLiteral("Europe/Berlin") << utc(2026, 3, 2, 9) << utc(2026, 3, 9, 8);
    QTest::addRow("Saturday") << QStringLiteral("Europe/Berlin") << utc(2026, 3, 7, 12) << utc(2026, 3, 9, 8);
    // Clocks go forward on Sunday 29 March: 09:00 on the 30th is 07:00 UTC.
    QTest::addRow("across spring forward") << QStringLiteral("Europe/Berlin") << utc(2026, 3, 28, 12) << utc(2026, 3, 30, 7);
    // And back on Sunday 25 October: 09:00 on the 26th is 08:00 UTC again.
    QTest::addRow("across fall back") << QStringLiteral("Europe/Berlin") << utc(2026, 10, 25, 0, 30) << utc(2026, 10, 26, 8);
    // Sunday evening in New York is already Monday in UTC.
    QTest::addRow("local day, not UTC day") << QStringLiteral("America/New_York") << utc(2026, 3, 2, 2) << utc(2026, 3, 2, 14);
    // Monday 01:00 in Auckland: nine o'clock that same Monday.
    QTest::addRow("east of UTC") << QStringLiteral("Pacific/Auckland") << utc(2026, 3, 1, 12) << utc(2026, 3, 1, 20);
}

void ExpiryTest::nextMondayNine()
{
    QFETCH(QString, zone);
    QFETCH(QDateTime, now);
    QFETCH(QDateTime, expected);
    const QTimeZone timeZone(zone.toLatin1());
    QVERIFY(timeZone.isValid());
    QCOMPARE(ExpiryEngine::nextMondayNine(now, timeZone), expected);
}

void ExpiryTest::undoBringsAFileBackForAFullPeriod()
{
    const TrackedFile shot = land(QStringLiteral("Screenshot 1.png"));
    world->clock.advance(48 * 3600);
    model->runExpiryPass();
    writeFile(inbox() + QStringLiteral("/Screenshot 1.png"), "a new one");
    world->clock.advance(3600);
    model->undoLastExpiry();
    const auto back = std::find_if(model->files().begin(), model->files().end(),
        [&](const TrackedFile& f) { return f.id == shot.id; });
    QVERIFY(back != model->files().end());
    QCOMPARE(back->path, inbox() + QStringLiteral("/Screenshot 1 (2).png"));
    QCOMPARE(back->folder, FileFolder::Inbox);
    QCOMPARE(back->landedAt, world->clock.now());
    QCOMPARE(*back->expiresAt, world->clock.now().addSecs(48 * 3600));
    QVERIFY(!back->expiredAt);
    QCOMPARE(readFile(inbox() + QStringLiteral("/Screenshot 1.png")), QByteArray("a new one"));
    QVERIFY(!model->toast());
}

void ExpiryTest::undoOfAVanishedFileSaysSo()
{
    land(QStringLiteral("a.txt"));
    world->clock.advance(7 * 86400);
    model->runExpiryPass();
    QVERIFY(QFile::remove(expired() + QStringLiteral("/a.txt")));
    const TrackedFiles before = model->files();
    model->undoLastExpiry();
    QCOMPARE(model->toast(), QStringLiteral("Could not undo expiry for 'a.txt'."));
    QCOMPARE(model->files(), before);
}

void ExpiryTest::soonCount()
{
    land(QStringLiteral("a.txt")); // due in 7 days
    model->setScreenshotExpiryHours(18);
    land(QStringLiteral("Screenshot 1.png")); // due in exactly 18 hours
    land(QStringLiteral("Screenshot 2.png"));
    QCOMPARE(model->expireTonightCount(), 2);
    model->setScreenshotExpiryHours(19);
    QCOMPARE(model->expireTonightCount(), 0);
    model->pauseExpiryFor24Hours();
    world->clock.advance(7 * 86400); // overdue, but the pause is over
    QCOMPARE(model->expireTonightCount(), 3);
}

void ExpiryTest::notifications()
{
    model->setNotificationsEnabled(true);
    QCOMPARE(world->notifications.permissionRequests, 1);
    land(QStringLiteral("a.txt"));
    land(QStringLiteral("b.txt"));
    world->clock.advance(3600);
    land(QStringLiteral("c.txt"));
    world->clock.advance(7 * 86400 - 3600);
    model->runExpiryPass();
    QCOMPARE(world->notifications.delivered.size(), size_t(1));
    const Notification first = world->notifications.delivered.front();
    QCOMPARE(first.title, QStringLiteral("Dropwell"));
    QCOMPARE(first.body, QStringLiteral("2 files expired. 1 more expires soon."));
    QVERIFY(first.identifier.startsWith(QStringLiteral("org.dropwell.expiry.")));
    QCOMPARE(first.identifier.size(), 20 + 36);
    QCOMPARE(first.identifier, first.identifier.toUpper().replace(QStringLiteral("ORG.DROPWELL.EXPIRY."), QStringLiteral("org.dropwell.expiry.")));

    world->clock.advance(3600);
    model->runExpiryPass();
    QCOMPARE(world->notifications.delivered.size(), size_t(2));
    QCOMPARE(world->notifications.delivered.back().body, QStringLiteral("1 file expired."));
    QVERIFY(world->notifications.delivered.back().identifier != first.identifier);

    world->clock.advance(86400); // only moves to the Trash now
    model->runExpiryPass();
    QCOMPARE(world->notifications.delivered.size(), size_t(2));
    QVERIFY(model->files().isEmpty());

    model->setNotificationsEnabled(false);
    land(QStringLiteral("d.txt"));
    world->clock.advance(7 * 86400);
    model->runExpiryPass();
    QCOMPARE(world->notifications.delivered.size(), size_t(2));
}

void ExpiryTest::passRunsEveryPeriodAfterStart()
{
    model->start();
    land(QStringLiteral("a.txt"));
    const auto period = world->services().expiryPassPeriod;
    world->timers.advance(std::chrono::days(7) - period);
    QCOMPARE(namesIn(expired()), QStringList());
    world->timers.advance(period);
    QCOMPARE(namesIn(expired()), QStringList(QStringLiteral("a.txt")));
}

void ExpiryTest::labelHours_data()
{
    QTest::addColumn<qint64>("hours");
    QTest::addColumn<QString>("label");
    QTest::addRow("6") << qint64(6) << QStringLiteral("6 hours");
    QTest::addRow("12") << qint64(12) << QStringLiteral("12 hours");
    QTest::addRow("24") << qint64(24) << QStringLiteral("1 day");
    QTest::addRow("48") << qint64(48) << QStringLiteral("2 days");
    QTest::addRow("72") << qint64(72) << QStringLiteral("3 days");
    QTest::addRow("168") << qint64(168) << QStringLiteral("7 days");
    QTest::addRow("36") << qint64(36) << QStringLiteral("36 hours");
}

void ExpiryTest::labelHours()
{
    QFETCH(qint64, hours);
    QFETCH(QString, label);
    QCOMPARE(ExpiryEngine::labelHours(hours), label);
}

QTEST_GUILESS_MAIN(ExpiryTest)
#include "tst_expiry.moc"
