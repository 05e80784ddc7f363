// The tray icon's texts and picture, the words of an Inbox row, and the
// first popover driving the model, on a real X server.
#include "tests/support/TestSupport.h"
#include "ui/InboxRowText.h"
#include "ui/PopoverWindow.h"
#include "ui/RelativeTime.h"
#include "ui/TrayIcon.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

class PopoverTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void relativeTimes_data();
    void relativeTimes();
    void rowTexts_data();
    void rowTexts();
    void trayTextsAndPicture();
    void popoverStartsTheModelAndKeeps();
    void popoverShowsAndDismissesTheToast();
};

void PopoverTest::relativeTimes_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("text");
    QTest::addRow("hours ago") << qint64(-2 * 3600 - 59) << QStringLiteral("2 hr. ago");
    QTest::addRow("days ahead") << qint64(6 * 86400 + 3600) << QStringLiteral("in 6 days");
    QTest::addRow("toward zero") << qint64(-47 * 3600) << QStringLiteral("1 day ago");
    QTest::addRow("seconds") << qint64(-30) << QStringLiteral("30 sec. ago");
    QTest::addRow("minutes ahead") << qint64(5 * 60) << QStringLiteral("in 5 min.");
    QTest::addRow("weeks") << qint64(15 * 86400) << QStringLiteral("in 2 wk.");
    QTest::addRow("this moment") << qint64(0) << QStringLiteral("now");
}

void PopoverTest::relativeTimes()
{
    QFETCH(qint64, seconds);
    QFETCH(QString, text);
    const QDateTime now(QDate(2026, 12, 6), QTime(12, 0), Qt::UTC);
    QCOMPARE(RelativeTime(QStringLiteral("en_US")).format(now.addSecs(seconds), now), text);
}

void PopoverTest::rowTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<FileSource>("source");
    QTest::addColumn<QString>("kind");
    QTest::addRow("screenshot") << QStringLiteral("Screenshot 1.png") << FileSource::Screenshot << QStringLiteral("Screenshot");
    QTest::addRow("recording in capitals") << QStringLiteral("clip.MOV") << FileSource::Downloads << QStringLiteral("Recording");
    QTest::addRow("download") << QStringLiteral("setup.iso") << FileSource::Downloads << QStringLiteral("Downloads");
    QTest::addRow("safari") << QStringLiteral("page.html") << FileSource::Safari << QStringLiteral("Safari");
    QTest::addRow("by hand") << QStringLiteral("notes.txt") << FileSource::Manual << QStringLiteral("Inbox");
}

void PopoverTest::rowTexts()
{
    QFETCH(QString, name);
    QFETCH(FileSource, source);
    QFETCH(QString, kind);
    const QDateTime now(QDate(2026, 12, 6), QTime(12, 0), Qt::UTC);
    TrackedFile file = recordAt(QStringLiteral("/in/") + name, FileFolder::Inbox, now.addSecs(-2 * 3600));
    file.source = source;
    QCOMPARE(InboxRowText::kind(file), kind);
    const RelativeTime relative(QStringLiteral("en_US"));
    QCOMPARE(InboxRowText::meta(file, now, relative), QStringLiteral("2 hr. ago \u00B7 ") + kind);
    file.expiresAt = now.addDays(6).addSecs(60);
    QCOMPARE(InboxRowText::meta(file, now, relative), QStringLiteral("2 hr. ago \u00B7 ") + kind + QStringLiteral(" \u00B7 expires in 6 days"));
}

void PopoverTest::trayTextsAndPicture()
{
    QCOMPARE(TrayIcon::helpText(0), QStringLiteral("Dropwell"));
    QCOMPARE(TrayIcon::helpText(12), QStringLiteral("12 in inbox"));
    const QImage plain = TrayIcon::icon(QString()).pixmap(32, 32).toImage();
    const QImage badged = TrayIcon::icon(QStringLiteral("12")).pixmap(32, 32).toImage();
    QVERIFY(!plain.isNull());
    QVERIFY(plain != badged);
    QCOMPARE(plain.pixelColor(0, 0).alpha(), 0); // the cube's corners are clear
}

void PopoverTest::popoverStartsTheModelAndKeeps()
{
    TestWorld world;
    writeFile(world.folders().inbox() + QStringLiteral("/a.txt"));
    AppModel model(world.services());
    PopoverWindow popover(model);
    popover.popUp(QRect());
    QVERIFY(QTest::qWaitForWindowExposed(&popover));
    QVERIFY(model.isStarted());
    auto* list = popover.findChild<QListWidget*>();
    QCOMPARE(list->count(), 1);
    QVERIFY(list->item(0)->text().startsWith(QStringLiteral("a.txt\n")));

    writeFile(world.folders().inbox() + QStringLiteral("/b.txt"));
    QTRY_COMPARE(list->count(), 2);
    list->item(1)->setSelected(true);
    QCOMPARE(model.selectedFiles().size(), 1);
    QPushButton* keep = nullptr;
    for (auto* button : popover.findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("Keep"))
            keep = button;
    }
    QVERIFY(keep && keep->isEnabled());
    QTest::mouseClick(keep, Qt::LeftButton);
    QCOMPARE(list->count(), 1);
    QCOMPARE(namesIn(world.folders().kept()).size(), 1);
}

void PopoverTest::popoverShowsAndDismissesTheToast()
{
    TestWorld world;
    AppModel model(world.services());
    PopoverWindow popover(model);
    popover.popUp(QRect());
    QVERIFY(QTest::qWaitForWindowExposed(&popover));
    model.setToast(QStringLiteral("Could not keep 'a.txt'."));
    QLabel* text = nullptr;
    for (auto* label : popover.findChildren<QLabel*>()) {
        if (label->text() == QStringLiteral("Could not keep 'a.txt'."))
            text = label;
    }
    QVERIFY(text && text->isVisible());
    QTest::mouseClick(popover.findChild<QToolButton*>(), Qt::LeftButton);
    QVERIFY(!model.toast());
    QVERIFY(!text->isVisible());
}

QTEST_MAIN(PopoverTest)
#include "tst_popover.moc"
