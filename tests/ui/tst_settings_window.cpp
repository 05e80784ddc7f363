// The settings window on a real X server, driven the way a user drives it,
// against a model over a temporary world: what each control shows, and what
// each one leaves in the saved settings.
#include "tests/support/TestSupport.h"
#include "platform/linux/XdgAutostart.h"
#include "ui/SettingsWindow.h"
#include "ui/Theme.h"
#include "ui/settings/AppearanceSwatch.h"
#include "ui/settings/ElidedLabel.h"
#include "ui/settings/StopSlider.h"
#include "ui/settings/SwitchToggle.h"
#include "ui/settings/ToggleRow.h"
#include "ui/settings/ValueRow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <QSignalSpy>
#include <QTest>

using Flag = bool AppSettings::*;
Q_DECLARE_METATYPE(Flag)

namespace {

Status microphoneHere() { return Status::success(); }

AppSettings saved(const TestWorld& world) { return Persistence(world.support()).loadSettings().value; }

template <typename T>
T* named(const QWidget& window, const char* name)
{
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qWarning("no %s named %s", T::staticMetaObject.className(), name);
    return found;
}

QAbstractButton* buttonCalled(const QWidget& window, const QString& text)
{
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (button->text() == text)
            return button;
    }
    qWarning("no button \"%s\"", qPrintable(text));
    return nullptr;
}

// Opens the window on the pane with this sidebar title.
void openOn(SettingsWindow& window, const QString& pane)
{
    window.showAndRaise();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QAbstractButton* tab = buttonCalled(window, pane);
    QVERIFY(tab);
    QTest::mouseClick(tab, Qt::LeftButton);
}

} // namespace

class SettingsWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void paneChangeFadesWithoutWaiting();
    void sliderStops_data();
    void sliderStops();
    void keepOtherCancelledShowsThePreviousDestination();
    void keepOtherChosenShowsThePath();
    void keepOtherWithoutPathAsksForOne();
    void summaryAsksPermissionOnlyWhenTurnedOn_data();
    void summaryAsksPermissionOnlyWhenTurnedOn();
    void togglesSave_data();
    void togglesSave();
    void swatchesRestyleTheWindow_data();
    void swatchesRestyleTheWindow();
    void pausedRowFollowsThePause();
    void restorePreviousLocationTurnsTheRedirectOff();
    void accessButtonAndMicrophoneCard();
    void startAtLoginFollowsTheEntry();
    void deleteKeysLeaveTheInboxAlone();
};

void SettingsWindowTest::initTestCase() { QCoreApplication::setApplicationVersion(QStringLiteral("1.4.2")); }

void SettingsWindowTest::paneChangeFadesWithoutWaiting()
{
    TestWorld world;
    AppModel model(world.services());
    SettingsWindow window(model, microphoneHere);
    openOn(window, QStringLiteral("General"));
    auto* panes = named<QStackedWidget>(window, "panes");
    const auto covers = [panes] {
        return panes->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size() - panes->count();
    };
    QCOMPARE(covers(), 0);
    QTest::mouseClick(buttonCalled(window, QStringLiteral("Auto-delete")), Qt::LeftButton);
    QTest::mouseClick(buttonCalled(window, QStringLiteral("Capture")), Qt::LeftButton);
    QCOMPARE(covers(), 1); // a second change while fading replaces the fade
    // The new pane is live under the fading picture.
    auto* summary = named<ToggleRow>(window, "dailySummary");
    QTest::mouseClick(summary->findChild<SwitchToggle*>(), Qt::LeftButton);
    QVERIFY(saved(world).notificationsEnabled != AppSettings().notificationsEnabled);
    QTRY_COMPARE(covers(), 0);
}

void SettingsWindowTest::sliderStops_data()
{
    QTest::addColumn<QString>("slider");
    QTest::addColumn<qint64>("stored");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("label");
    QTest::addColumn<qint64>("afterStepRight");
    QTest::addColumn<QString>("labelAfter");
    QTest::addRow("hours not a stop") << QStringLiteral("screenshotExpiry") << qint64(36) << 0 << QStringLiteral("36 hours") << qint64(12) << QStringLiteral("12 hours");
    QTest::addRow("last hours stop") << QStringLiteral("screenshotExpiry") << qint64(168) << 5 << QStringLiteral("7 days") << qint64(168) << QStringLiteral("7 days");
    QTest::addRow("days not a stop") << QStringLiteral("otherExpiry") << qint64(10) << 0 << QStringLiteral("10 days") << qint64(3) << QStringLiteral("3 days");
}

void SettingsWindowTest::sliderStops()
{
    QFETCH(QString, slider);
    QFETCH(qint64, stored);
    QFETCH(int, position);
    QFETCH(QString, label);
    QFETCH(qint64, afterStepRight);
    QFETCH(QString, labelAfter);
    const bool hours = slider == QStringLiteral("screenshotExpiry");
    const auto storedValue = [hours](const AppSettings& s) { return hours ? s.screenshotExpiryHours : s.otherExpiryDays; };

    TestWorld world;
    AppModel model(world.services());
    model.changeSettings([&](AppSettings& s) { (hours ? s.screenshotExpiryHours : s.otherExpiryDays) = stored; });
    SettingsWindow window(model, microphoneHere);
    openOn(window, QStringLiteral("Auto-delete"));
    auto* control = named<StopSlider>(window, slider.toLatin1().constData());
    QCOMPARE(control->slider()->value(), position);
    QCOMPARE(control->valueLabel()->text(), label);

    QTest::keyClick(control->slider(), Qt::Key_Right);
    QCOMPARE(storedValue(model.settings()), afterStepRight);
    QCOMPARE(storedValue(saved(world)), afterStepRight);
    QCOMPARE(control->valueLabel()->text(), labelAfter);
}

void SettingsWindowTest::keepOtherCancelledShowsThePreviousDestination()
{
    TestWorld world;
    AppModel model(world.services());
    model.setKeepDestination(KeepDestination::Documents);
    SettingsWindow window(model, microphoneHere);
    openOn(window, QStringLiteral("General"));
    auto* picker = named<QComboBox>(window, "keepDestination");
    QCOMPARE(picker->currentText(), QStringLiteral("Documents"));

    world.fileManager.nextChoice.reset(); // the user cancels the folder chooser
    QTest::keyClick(picker, Qt::Key_End);
    QCOMPARE(picker->currentText(), QStringLiteral("Documents"));
    QCOMPARE(saved(world).keepDestination, KeepDestination::Documents);
    QVERIFY(!named<ElidedLabel>(window, "keepPath")->isVisible());
}

void SettingsWindowTest::keepOtherChosenShowsThePath()
{
    TestWorld world;
    AppModel model(world.services());
    SettingsWindow window(model, microphoneHere);
    openOn(window, QStringLiteral("General"));
    auto* picker = named<QComboBox>(window, "keepDestination");
    QCOMPARE(picker->currentText(), QStringLiteral("Dropwell/Kept"));

    const QString folder = world.path(QStringLiteral("Stash"));
    QVERIFY(QDir().mkpath(folder));
    world.fileManager.nextChoice = folder;
    QTest::keyClick(picker, Qt::Key_End);
    QCOMPARE(picker->currentText(), QStringLiteral("Other\u2026"));
    auto* path = named<ElidedLabel>(window, "keepPath");
    QVERIFY(path->isVisible());
    QCOMPARE(path->text(), QDir::cleanPath(folder));
    QCOMPARE(saved(world).keepDestination, KeepDestination::Other);
    QCOMPARE(saved(world).keepDestinationPath, QDir::cleanPath(folder));

    QTest::keyClick(picker, Qt::Key_Home);
    QCOMPARE(saved(world).keepDestination, KeepDestination::Kept);
    QVERIFY(!path->isVisible());
}

void SettingsWindowTest::keepOtherWithoutPathAsksForOne()
{
    TestWorld world;
    AppModel model(world.services());
    model.changeSettings([](AppSettings& s) {
        s.keepDestination = KeepDestination::Other;
        s.keepDestinationPath.reset();
    });
    SettingsWindow window(model, microphoneHere);
    openOn(window, QStringLiteral("General"));
    auto* path = named<ElidedLabel>(window, "keepPath");
    QVERIFY(path->isVisible());
    QCOMPARE(path->text(), QStringLiteral("Choose a folder\u2026"));

    const QString folder = world.path(QStringLiteral("Projects"));
    QVERIFY(QDir().mkpath(folder));
    world.fileManager.nextChoice = folder;
    QTest::mouseClick(buttonCalled(window, QStringLiteral("Choose folder\u2026")), Qt::LeftButton);
    QCOMPARE(path->text(), QDir::cleanPath(folder));
    QCOMPARE(saved(world).keepDestinationPath, QDir::cleanPath(folder));
}

void SettingsWindowTest::summaryAsksPermissionOnlyWhenTurnedOn_data()
{
    QTest::addColumn<bool>("onBefore");
    QTest::addColumn<int>("permissionRequests");
    QTest::addRow("turned on") << false << 1;
    QTest::addRow("turned off") << true << 0;
}

void SettingsWindowTest::summaryAsksPermissionOnlyWhenTurnedOn()
{
    QFETCH(bool, onBefore);
    QFETCH(int, permissionRequests);
    TestWorld world;
    AppModel model(world.services());
    model.changeSettings([&](AppSettings& s) { s.notificationsEnabled = onBefore; });
    SettingsWindow window(model, microphoneHere);
    openOn(window, QStringLiteral("Capture"));
    SwitchToggle* summary = named<ToggleRow>(window, "dailySummary")->switchButton();
    QCOMPARE(summary->isChecked(), onBefore);

    QTest::mouseClick(summary, Qt::LeftButton);
    QCOMPARE(saved(world).notificationsEnabled, !onBefore);
    QCOMPARE(world.notifications.permissionRequests, permissionRequests);
}

void SettingsWindowTest::togglesSave_data()
{
    QTest::addColumn<QString>("pane");
    QTest::addColumn<QString>("toggle");
    QTest::addColumn<Flag>("field");
    QTest::addColumn<bool>("byKeyboard");
    QTest::addRow("inbox count") << QStringLiteral("General") << QStringLiteral("showInboxCount") << &AppSettings::inboxBadgeEnabled << false;
    QTest::addRow("screenshots") << QStringLiteral("Capture") << QStringLiteral("sendScreenshots") << &AppSettings::screenshotsEnabled << false;
    QTest::addRow("downloads") << QStringLiteral("Capture") << QStringLiteral("watchDownloads") << &AppSettings::watchDownloadsEnabled << false;
    QTest::addRow("summary") << QStringLiteral("Capture") << QStringLiteral("dailySummary") << &AppSettings::notificationsEnabled << false;
    QTest::addRow("downloads by keyboard") << QStringLiteral("Capture") << QStringLiteral("watchDownloads") << &AppSettings::watchDownloadsEnabled << true;
}

void SettingsWindowTest::togglesSave()
{
    QFETCH(QString, pane);
    QFETCH(QString, toggle);
    QFETCH(Flag, field);
    QFETCH(bool, byKeyboard);
    TestWorld world;
    AppModel model(world.services());
    SettingsWindow window(model, microphoneHere);
    openOn(window, pane);
    const bool before = model.settings().*field;
    SwitchToggle* control = named<ToggleRow>(window, toggle.toLatin1().constData())->switchButton();
    QCOMPARE(control->isChecked(), before);

    if (byKeyboard) {
        control->setFocus(Qt::TabFocusReason);
        QTest::keyClick(control, Qt::Key_Space);
    } else {
        QTest::mouseClick(control, Qt::LeftButton);
    }
    QCOMPARE(saved(world).*field, !before);
    QCOMPARE(control->isChecked(), !before);

    // Set from elsewhere, the switch follows.
    model.changeSettings([&](AppSettings& s) { s.*field = before; });
    QCOMPARE(control->isChecked(), before);
}

void SettingsWindowTest::swatchesRestyleTheWindow_data()
{
    QTest::addColumn<AppearanceMode>("from");
    QTest::addColumn<AppearanceMode>("to");
    QTest::addRow("black to grey") << AppearanceMode::Black << AppearanceMode::Grey;
    QTest::addRow("black to light") << AppearanceMode::Black << AppearanceMode::Light;
    QTest::addRow("light to black") << AppearanceMode::Light << AppearanceMode::Black;
    QTest::addRow("the one in use") << AppearanceMode::Grey << AppearanceMode::Grey;
}

void SettingsWindowTest::swatchesRestyleTheWindow()
{
    QFETCH(AppearanceMode, from);
    QFETCH(AppearanceMode, to);
    TestWorld world;
    AppModel model(world.services());
    model.changeSettings([&](AppSettings& s) { s.appearance = from; });
    SettingsWindow window(model, microphoneHere);
    openOn(window, QStringLiteral("General"));
    const auto background = [&window] { return window.grab().toImage().pixelColor(4, 4).name(); };
    QCOMPARE(background(), Theme::forMode(from, false).settingsBackground.name());

    AppearanceSwatch* picked = nullptr;
    for (AppearanceSwatch* swatch : window.findChildren<AppearanceSwatch*>()) {
        if (swatch->mode() == to)
            picked = swatch;
    }
    QVERIFY(picked);
    QTest::mouseClick(picked, Qt::LeftButton);
    QCOMPARE(saved(world).appearance, to);
    QCOMPARE(background(), Theme::forMode(to, false).settingsBackground.name());
    for (const AppearanceSwatch* swatch : window.findChildren<AppearanceSwatch*>())
        QCOMPARE(swatch->isSelected(), swatch == picked);
}

void SettingsWindowTest::pausedRowFollowsThePause()
{
    TestWorld world;
    AppModel model(world.services());
    SettingsWindow window(model, microphoneHere);
    openOn(window, QStringLiteral("Auto-delete"));
    auto* paused = named<QWidget>(window, "pausedUntil");
    QVERIFY(!paused->isVisible());

    model.pauseExpiryFor24Hours(); // as the popover does
    QVERIFY(paused->isVisible());
    const QDateTime until = *model.settings().expiryPausedUntil;
    QCOMPARE(paused->findChild<ValueRow*>()->value(), QLocale().toString(until.toLocalTime(), QLocale::ShortFormat));

    QTest::mouseClick(buttonCalled(window, QStringLiteral("Resume expiry")), Qt::LeftButton);
    QVERIFY(!model.isExpiryPaused());
    QVERIFY(!saved(world).expiryPausedUntil);
    QVERIFY(!paused->isVisible());
}

void SettingsWindowTest::restorePreviousLocationTurnsTheRedirectOff()
{
    TestWorld world;
    AppModel model(world.services());
    SettingsWindow window(model, microphoneHere);
    openOn(window, QStringLiteral("About"));
    auto* location = named<QLineEdit>(window, "previousLocation");
    QCOMPARE(location->text(), QStringLiteral("None recorded yet"));
    model.changeSettings([](AppSettings& s) { s.previousScreenshotLocation = QStringLiteral("/home/ada/Pictures/Screenshots"); });
    QCOMPARE(location->text(), QStringLiteral("/home/ada/Pictures/Screenshots"));
    QVERIFY(model.settings().screenshotsEnabled);

    QTest::mouseClick(named<QPushButton>(window, "restoreScreenshotLocation"), Qt::LeftButton);
    QVERIFY(!saved(world).screenshotsEnabled);
    QVERIFY(!named<ToggleRow>(window, "sendScreenshots")->isOn());
}

void SettingsWindowTest::accessButtonAndMicrophoneCard()
{
    TestWorld world;
    AppModel model(world.services());
    Status microphone = Status::failure(ENODEV, QStringLiteral("No microphone found."));
    SettingsWindow window(model, [&microphone] { return microphone; });
    openOn(window, QStringLiteral("Capture"));
    QSignalSpy asked(&window, &SettingsWindow::accessSettingsRequested);
    auto* button = named<QPushButton>(window, "accessSettings");
    QVERIFY(!button->isVisible()); // a desktop with no such place, as X11
    auto* redirected = named<QLabel>(window, "redirectedTools");
    QVERIFY(redirected->isVisible());
    QVERIFY(redirected->text().startsWith(QStringLiteral("No screenshot tool Dropwell knows was found")));
    window.offerAccessSettings(true);
    QVERIFY(button->isVisible());
    QCOMPARE(button->text(), QStringLiteral("Open screen capture settings"));
    button->click();
    QCOMPARE(asked.count(), 1);

    auto* state = named<QLabel>(window, "microphoneState");
    auto* checkAgain = named<QPushButton>(window, "microphoneCheck");
    QCOMPARE(state->text(), QStringLiteral("No microphone found."));
    QVERIFY(checkAgain->isVisible());
    checkAgain->click(); // still none: nothing changes
    QVERIFY(!saved(world).recordWithMic);

    microphone = Status::success(); // plugged in
    checkAgain->click();
    QCOMPARE(state->text(), QStringLiteral("Allowed"));
    QVERIFY(!checkAgain->isVisible());
    QVERIFY(saved(world).recordWithMic);
}

void SettingsWindowTest::startAtLoginFollowsTheEntry()
{
    TestWorld world;
    AppModel model(world.services());
    const QString config = world.path(QStringLiteral("config"));
    XdgAutostart autostart(config, QStringLiteral("/opt/My Apps/$drop%well"));
    SettingsWindow window(model, microphoneHere, &autostart);
    openOn(window, QStringLiteral("General"));
    auto* toggle = named<ToggleRow>(window, "startAtLogin");
    QVERIFY(!toggle->isOn());
    const QString entry = config + QStringLiteral("/autostart/org.dropwell.Dropwell.desktop");
    const auto flip = [toggle] { QTest::mouseClick(toggle->switchButton(), Qt::LeftButton); };

    flip();
    QVERIFY(autostart.isEnabled());
    QVERIFY(toggle->isOn());
    // Quoted, with the characters the desktop entry format reserves escaped.
    QVERIFY(readFile(entry).contains("\nExec=\"/opt/My Apps/\\\\$drop%%well\"\n"));

    // Switched off by hand, the way GNOME's startup settings do it.
    writeFile(entry, readFile(entry) + "X-Mine=kept\nHidden=true\n");
    QTRY_VERIFY(!toggle->isOn());
    flip(); // on again: the user's other lines stay
    QVERIFY(toggle->isOn());
    QVERIFY(readFile(entry).contains("X-Mine=kept"));
    QVERIFY(readFile(entry).contains("Hidden=false"));

    QVERIFY(QFile::remove(entry)); // removed by hand
    QTRY_VERIFY(!toggle->isOn());
    flip();
    flip(); // and off with the switch: no entry is left
    QVERIFY(!QFileInfo::exists(entry));

    // A folder that cannot be made: the switch stays off and says why.
    QVERIFY(QDir(config + QStringLiteral("/autostart")).removeRecursively());
    writeFile(config + QStringLiteral("/autostart"), "not a folder");
    flip();
    QVERIFY(!toggle->isOn());
    QVERIFY(model.toast() && model.toast()->startsWith(QStringLiteral("Couldn't create")));
}

void SettingsWindowTest::deleteKeysLeaveTheInboxAlone()
{
    TestWorld world;
    const QString file = world.folders().inbox() + QStringLiteral("/notes.txt");
    writeFile(file);
    AppModel model(world.services());
    model.start();
    model.selectAllVisible();
    QCOMPARE(model.selectedFiles().size(), 1);
    SettingsWindow window(model, microphoneHere);
    openOn(window, QStringLiteral("General"));

    for (Qt::Key key : {Qt::Key_Delete, Qt::Key_Backspace}) {
        QTest::keyClick(&window, key);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &window, key);
    }
    QVERIFY(QFileInfo::exists(file));
    QCOMPARE(model.inboxCount(), 1);
    QVERIFY(namesIn(world.trashFiles()).isEmpty());
}

QTEST_MAIN(SettingsWindowTest)
#include "tst_settings_window.moc"
