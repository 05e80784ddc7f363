// The settings window on a real X server, driven the way a user drives it,
// against a model over a temporary world: what each control shows, and what
// each one leaves in the saved settings.
#include "tests/support/TestSupport.h"
#include "platform/linux/XdgAutostart.h"
#include "platform/linux/XfceShortcuts.h"
#include "platform/linux/XfconfXmlFile.h"
#include "ui/SettingsWindow.h"
#include "ui/settings/AppearanceSwatch.h"
#include "ui/settings/ElidedLabel.h"
#include "ui/settings/KeyCaptureButton.h"
#include "ui/settings/StopSlider.h"
#include "ui/settings/SwitchToggle.h"
#include "ui/settings/ToggleRow.h"
#include "ui/settings/ValueRow.h"

#include <algorithm>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSlider>
#include <QSignalSpy>
#include <QTest>

using Flag = bool AppSettings::*;
Q_DECLARE_METATYPE(Flag)

namespace {

Status microphoneHere() { return Status::success(); }

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

// A model over a temporary world and its settings window, once opened on the
// pane with this sidebar title.
struct Opened {
    void open(const QString& pane, MicrophoneCard::Check microphone = microphoneHere, Autostart* autostart = nullptr,
        const ShortcutsSetup& shortcuts = {})
    {
        owned = std::make_unique<SettingsWindow>(model, std::move(microphone), autostart, shortcuts);
        owned->showAndRaise();
        QVERIFY(QTest::qWaitForWindowExposed(owned.get()));
        QAbstractButton* tab = buttonCalled(*owned, pane);
        QVERIFY(tab);
        QTest::mouseClick(tab, Qt::LeftButton);
    }
    SettingsWindow& window() const { return *owned; }
    AppSettings saved() const { return Persistence(world.support()).loadSettings().value; }

    TestWorld world;
    AppModel model {world.services()};
    std::unique_ptr<SettingsWindow> owned;
};

// The desktop's dialog, as far as the card sees it.
class DesktopDialog final : public ChosenShortcuts {
public:
    bool offered() const override { return true; }
    QString trigger(ShortcutCommand command) const override { return triggers.value(command); }
    void choose() override { ++asked; }
    QMap<ShortcutCommand, QString> triggers;
    int asked = 0;
};

} // namespace

class SettingsWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QCoreApplication::setApplicationVersion(QStringLiteral("1.4.2")); }

    // Values stored between two stops are shown as they are; a step lands on a stop.
    void autoDeletePaneStepsToStopsAndFollowsThePause()
    {
        Opened o;
        o.model.changeSettings([](AppSettings& s) {
            s.screenshotExpiryHours = 36;
            s.otherExpiryDays = 10;
        });
        o.open(QStringLiteral("Auto-delete"));
        auto* hours = named<StopSlider>(o.window(), "screenshotExpiry");
        auto* days = named<StopSlider>(o.window(), "otherExpiry");
        QCOMPARE(hours->valueLabel()->text(), QStringLiteral("36 hours"));
        QCOMPARE(days->valueLabel()->text(), QStringLiteral("10 days"));
        QTest::keyClick(hours->slider(), Qt::Key_Right);
        QTest::keyClick(days->slider(), Qt::Key_Right);
        QCOMPARE(hours->valueLabel()->text(), QStringLiteral("12 hours"));
        QCOMPARE(days->valueLabel()->text(), QStringLiteral("3 days"));
        QCOMPARE(o.saved().screenshotExpiryHours, qint64(12));
        QCOMPARE(o.saved().otherExpiryDays, qint64(3));

        auto* paused = named<QWidget>(o.window(), "pausedUntil");
        QVERIFY(!paused->isVisible());
        o.model.expiry().pauseFor24Hours(); // as the popover does
        QVERIFY(paused->isVisible());
        const QDateTime until = *o.model.settings().expiryPausedUntil;
        QCOMPARE(paused->findChild<ValueRow*>()->value(), QLocale().toString(until.toLocalTime(), QLocale::ShortFormat));
        QTest::mouseClick(buttonCalled(o.window(), QStringLiteral("Resume expiry")), Qt::LeftButton);
        QVERIFY(!o.saved().expiryPausedUntil);
        QVERIFY(!paused->isVisible());
    }

    void keepDestinationPicker()
    {
        Opened o;
        o.model.setKeepDestination(KeepDestination::Documents);
        o.open(QStringLiteral("General"));
        auto* picker = named<QComboBox>(o.window(), "keepDestination");
        auto* path = named<ElidedLabel>(o.window(), "keepPath");
        QCOMPARE(picker->currentText(), QStringLiteral("Documents"));

        // Other… with the folder chooser cancelled shows the previous destination.
        o.world.fileManager.nextChoice.reset();
        QTest::keyClick(picker, Qt::Key_End);
        QCOMPARE(picker->currentText(), QStringLiteral("Documents"));
        QCOMPARE(o.saved().keepDestination, KeepDestination::Documents);
        QVERIFY(!path->isVisible());

        const QString folder = o.world.path(QStringLiteral("Stash"));
        QVERIFY(QDir().mkpath(folder));
        o.world.fileManager.nextChoice = folder;
        QTest::keyClick(picker, Qt::Key_End);
        QCOMPARE(picker->currentText(), QStringLiteral("Other\u2026"));
        QVERIFY(path->isVisible());
        QCOMPARE(path->text(), QDir::cleanPath(folder));
        QCOMPARE(o.saved().keepDestination, KeepDestination::Other);
        QCOMPARE(o.saved().keepDestinationPath, QDir::cleanPath(folder));

        QTest::keyClick(picker, Qt::Key_Home); // Dropwell/Kept
        QCOMPARE(o.saved().keepDestination, KeepDestination::Kept);
        QVERIFY(!path->isVisible());

        // Other without a folder asks for one.
        o.model.changeSettings([](AppSettings& s) {
            s.keepDestination = KeepDestination::Other;
            s.keepDestinationPath.reset();
        });
        QVERIFY(path->isVisible());
        QCOMPARE(path->text(), QStringLiteral("Choose a folder\u2026"));
        const QString projects = o.world.path(QStringLiteral("Projects"));
        QVERIFY(QDir().mkpath(projects));
        o.world.fileManager.nextChoice = projects;
        QTest::mouseClick(buttonCalled(o.window(), QStringLiteral("Choose folder\u2026")), Qt::LeftButton);
        QCOMPARE(path->text(), QDir::cleanPath(projects));
        QCOMPARE(o.saved().keepDestinationPath, QDir::cleanPath(projects));
    }

    void togglesSave_data()
    {
        QTest::addColumn<QString>("pane");
        QTest::addColumn<QString>("toggle");
        QTest::addColumn<Flag>("field");
        QTest::addRow("inbox count") << QStringLiteral("General") << QStringLiteral("showInboxCount") << &AppSettings::inboxBadgeEnabled;
        QTest::addRow("screenshots") << QStringLiteral("Capture") << QStringLiteral("sendScreenshots") << &AppSettings::screenshotsEnabled;
        QTest::addRow("downloads") << QStringLiteral("Capture") << QStringLiteral("watchDownloads") << &AppSettings::watchDownloadsEnabled;
        QTest::addRow("summary") << QStringLiteral("Capture") << QStringLiteral("dailySummary") << &AppSettings::notificationsEnabled;
    }
    void togglesSave()
    {
        QFETCH(QString, pane);
        QFETCH(QString, toggle);
        QFETCH(Flag, field);
        Opened o;
        o.open(pane);
        const bool before = o.model.settings().*field;
        SwitchToggle* control = named<ToggleRow>(o.window(), toggle.toLatin1().constData())->switchButton();
        for (const bool expected : {!before, before}) {
            QCOMPARE(control->isChecked(), !expected);
            QTest::mouseClick(control, Qt::LeftButton);
            QCOMPARE(o.saved().*field, expected);
            QCOMPARE(control->isChecked(), expected);
        }
        // Only the daily summary asks to notify, and only when turned on.
        QCOMPARE(o.world.notifications.permissionRequests, field == &AppSettings::notificationsEnabled ? 1 : 0);

        // Set from elsewhere, the switch follows.
        o.model.changeSettings([&](AppSettings& s) { s.*field = !before; });
        QCOMPARE(control->isChecked(), !before);
    }

    void restorePreviousLocationTurnsTheRedirectOff()
    {
        Opened o;
        o.open(QStringLiteral("About"));
        auto* location = named<QLineEdit>(o.window(), "previousLocation");
        QCOMPARE(location->text(), QStringLiteral("None recorded yet"));
        o.model.changeSettings([](AppSettings& s) { s.previousScreenshotLocation = QStringLiteral("/home/ada/Pictures/Screenshots"); });
        QCOMPARE(location->text(), QStringLiteral("/home/ada/Pictures/Screenshots"));
        QVERIFY(o.model.settings().screenshotsEnabled);

        QTest::mouseClick(named<QPushButton>(o.window(), "restoreScreenshotLocation"), Qt::LeftButton);
        QVERIFY(!o.saved().screenshotsEnabled); // the switch follows, as every switch does (togglesSave)
    }

    void startAtLoginFollowsTheEntry()
    {
        Opened o;
        const QString config = o.world.path(QStringLiteral("config"));
        XdgAutostart autostart(config, QStringLiteral("/opt/My Apps/$drop%well"));
        o.open(QStringLiteral("General"), microphoneHere, &autostart);
        auto* toggle = named<ToggleRow>(o.window(), "startAtLogin");
        QVERIFY(!toggle->isOn());
        const QString entry = config + QStringLiteral("/autostart/org.dropwell.Dropwell.desktop");
        const auto flip = [toggle] { QTest::mouseClick(toggle->switchButton(), Qt::LeftButton); };

        flip();
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
        QVERIFY(o.model.toast() && o.model.toast()->startsWith(QStringLiteral("Couldn't create")));
    }

    void aSwatchSavesTheAppearance()
    {
        Opened o;
        o.open(QStringLiteral("General"));
        const QList<AppearanceSwatch*> swatches = o.window().findChildren<AppearanceSwatch*>();
        const auto light = std::find_if(swatches.begin(), swatches.end(), [](auto* swatch) { return swatch->mode() == AppearanceMode::Light; });
        QVERIFY(light != swatches.end());
        QTest::mouseClick(*light, Qt::LeftButton);
        QCOMPARE(o.saved().appearance, AppearanceMode::Light);
        for (const AppearanceSwatch* swatch : swatches)
            QCOMPARE(swatch->isSelected(), swatch == *light);
    }

    void capturePaneAccessMicrophoneAndShortcutKeys()
    {
        Opened o;
        const QString file = o.world.path(QStringLiteral("xfce4-keyboard-shortcuts.xml"));
        writeFile(file, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<channel name=\"xfce4-keyboard-shortcuts\" version=\"1.0\">\n"
                        "<property name=\"commands\" type=\"empty\"><property name=\"custom\" type=\"empty\">\n"
                        "<property name=\"Print\" type=\"string\" value=\"dropwell --capture region\"/>\n</property></property>\n</channel>\n");
        XfceShortcuts shortcuts(std::make_unique<XfconfXmlFile>(file, QStringLiteral("xfce4-keyboard-shortcuts")),
            QStringLiteral("/usr/bin/dropwell"), *o.world.defaults);
        Status microphone = Status::failure(ENODEV, QStringLiteral("No microphone found."));
        o.open(QStringLiteral("Capture"), [&microphone] { return microphone; }, nullptr, {&shortcuts, nullptr, QStringLiteral("/usr/bin/dropwell")});
        QSignalSpy asked(&o.window(), &SettingsWindow::accessSettingsRequested);
        auto* button = named<QPushButton>(o.window(), "accessSettings");
        QVERIFY(!button->isVisible()); // a desktop with no such place, as X11
        auto* redirected = named<QLabel>(o.window(), "redirectedTools");
        QVERIFY(redirected->isVisible());
        QVERIFY(redirected->text().startsWith(QStringLiteral("No screenshot tool Dropwell knows was found")));
        o.window().offerAccessSettings(true);
        QVERIFY(button->isVisible());
        button->click();
        QCOMPARE(asked.count(), 1);

        auto* state = named<QLabel>(o.window(), "microphoneState");
        auto* checkAgain = named<QPushButton>(o.window(), "microphoneCheck");
        QCOMPARE(state->text(), QStringLiteral("No microphone found."));
        QVERIFY(checkAgain->isVisible());
        checkAgain->click(); // still none: nothing changes
        QVERIFY(!o.saved().recordWithMic);
        microphone = Status::success(); // plugged in
        checkAgain->click();
        QCOMPARE(state->text(), QStringLiteral("Allowed"));
        QVERIFY(!checkAgain->isVisible());
        QVERIFY(o.saved().recordWithMic);

        QVERIFY(named<QLabel>(o.window(), "shortcutsWhere")->text().contains(QStringLiteral("Xfce")));
        KeyCaptureButton* region = named<KeyCaptureButton>(o.window(), "shortcut.region");
        QCOMPARE(region->text(), QKeySequence(Qt::Key_Print).toString(QKeySequence::NativeText));
        QPushButton* clear = named<QPushButton>(o.window(), "clearShortcut.region");
        QVERIFY(clear->isVisible());
        QVERIFY(named<QPushButton>(o.window(), "clearShortcut.window")->isHidden());

        QTest::mouseClick(clear, Qt::LeftButton);
        QCOMPARE(shortcuts.key(ShortcutCommand::CaptureRegion).value(), std::nullopt);
        QCOMPARE(region->text(), QStringLiteral("Set key"));
        QVERIFY(clear->isHidden());

        // Escape gives up; the next key pressed, with its modifiers, is the one.
        KeyCaptureButton* window = named<KeyCaptureButton>(o.window(), "shortcut.window");
        QTest::mouseClick(window, Qt::LeftButton);
        QVERIFY(window->isListening());
        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(!window->isListening());
        QTest::mouseClick(window, Qt::LeftButton);
        QTest::keyClick(window, Qt::Key_F9, Qt::ControlModifier);
        const QKeyCombination controlF9(Qt::ControlModifier, Qt::Key_F9);
        QCOMPARE(shortcuts.key(ShortcutCommand::CaptureWindow).value(), std::optional<QKeyCombination>(controlF9));
        QCOMPARE(window->text(), QKeySequence(controlF9).toString(QKeySequence::NativeText));
    }

    // Without a store of the desktop's the commands to bind are shown; where
    // the desktop asks for the keys itself they are chosen there.
    void keysNotSetHereAreShownOrChosenOnTheDesktop()
    {
        Opened o;
        o.open(QStringLiteral("Capture"), microphoneHere, nullptr, {nullptr, nullptr, QStringLiteral("/opt/my apps/dropwell")});
        QCOMPARE(named<QLabel>(o.window(), "commandLine.record")->text(), QStringLiteral("'/opt/my apps/dropwell' --record display"));
        QVERIFY(o.window().findChildren<KeyCaptureButton*>().isEmpty());

        DesktopDialog dialog;
        dialog.triggers.insert(ShortcutCommand::CaptureWindow, QStringLiteral("Alt+Print"));
        o.open(QStringLiteral("Capture"), microphoneHere, nullptr, {nullptr, &dialog, QStringLiteral("/usr/bin/dropwell")});
        QCOMPARE(named<QLabel>(o.window(), "trigger.window")->text(), QStringLiteral("Alt+Print"));
        QCOMPARE(named<QLabel>(o.window(), "trigger.region")->text(), QStringLiteral("None"));
        // Only the desktop takes a key away: there is nothing to clear here.
        QVERIFY(o.window().findChildren<KeyCaptureButton*>().isEmpty());
        QVERIFY(named<QLabel>(o.window(), "shortcutsWhere")->text().contains(QStringLiteral("its settings")));

        named<QPushButton>(o.window(), "chooseShortcuts")->click();
        QCOMPARE(dialog.asked, 1);
        dialog.triggers.insert(ShortcutCommand::CaptureRegion, QStringLiteral("Ctrl+Print"));
        Q_EMIT dialog.changed();
        QCOMPARE(named<QLabel>(o.window(), "trigger.region")->text(), QStringLiteral("Ctrl+Print"));
        Q_EMIT dialog.failed(QStringLiteral("The desktop turned the request down."));
        QVERIFY(named<QLabel>(o.window(), "shortcutsProblem")->isVisibleTo(&o.window()));
    }
};

QTEST_MAIN(SettingsWindowTest)
#include "tst_settings_window.moc"
