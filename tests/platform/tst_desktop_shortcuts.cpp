// Dropwell's keys where the desktops keep theirs: GNOME's GSettings (in a
// keyfile of a private home), Xfce's xfconf file and an xfconfd of the
// test's own on the private bus; what a key took from the desktop comes back
// when it is cleared.
#include "platform/linux/GnomeShortcuts.h"
#include "platform/linux/GtkAccelerator.h"
#include "platform/linux/QSettingsDefaults.h"
#include "platform/linux/XfceShortcuts.h"
#include "platform/linux/XfconfBus.h"
#include "platform/linux/XfconfXmlFile.h"
#include "tests/support/ServedOnBus.h"
#include "tests/support/TestSupport.h"

#include <QDBusConnection>
#include <QDBusVariant>
#include <QTemporaryDir>
#include <QTest>

#include <gio/gio.h>

namespace {

const QString program = QStringLiteral("/opt/drop well/bin/dropwell");
const QKeyCombination print(Qt::Key_Print);
const QKeyCombination ctrlAltP(Qt::ControlModifier | Qt::AltModifier, Qt::Key_P);

const char* mediaKeys = "org.gnome.settings-daemon.plugins.media-keys";
const char* customSchema = "org.gnome.settings-daemon.plugins.media-keys.custom-keybinding";
const QByteArray customFolder = "/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/";

// The test's own look at GSettings, values written and read as GVariant
// text ("['<Super>e', 'Print']", "'gimp'").
struct Settings {
    explicit Settings(const char* schema, const QByteArray& path = {})
        : settings(path.isEmpty() ? g_settings_new(schema) : g_settings_new_with_path(schema, path.constData()))
    {
    }
    ~Settings() { g_object_unref(settings); }
    QByteArray operator[](const char* key) const
    {
        g_autoptr(GVariant) value = g_settings_get_value(settings, key);
        g_autofree gchar* text = g_variant_print(value, false);
        return text;
    }
    void set(const char* key, const QByteArray& text) { g_settings_set_value(settings, key, g_variant_new_parsed(text.constData())); }
    GSettings* settings;
};

// A user's Xfce shortcuts as Xfce writes them, with a comment and an entry
// with a child of its own that must come through every edit.
const QByteArray xfceFile = R"(<?xml version="1.0" encoding="UTF-8"?>

<channel name="xfce4-keyboard-shortcuts" version="1.0">
  <!-- kept by hand -->
  <property name="commands" type="empty">
    <property name="default" type="empty">
      <property name="Print" type="empty"/>
    </property>
    <property name="custom" type="empty">
      <property name="&lt;Alt&gt;F2" type="string" value="xfce4-appfinder --collapsed">
        <property name="startup-notify" type="bool" value="true"/>
      </property>
      <property name="Print" type="string" value="xfce4-screenshooter -f"/>
      <property name="&lt;Primary&gt;&lt;Alt&gt;Delete" type="string" value="xfce4-session-logout"/>
      <property name="override" type="bool" value="true"/>
    </property>
  </property>
  <property name="xfwm4" type="empty">
    <property name="custom" type="empty"/>
  </property>
</channel>
)";

} // namespace

// xfconfd as far as shortcuts use it: the system's values under the user's,
// and a reset that lets the system's count again.
class FakeXfconfd : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.xfce.Xfconf")
public:
    explicit FakeXfconfd(const QDBusConnection&) {}

    QMap<QString, QString> system;
    QMap<QString, QString> user;

public Q_SLOTS:
    Q_SCRIPTABLE QVariantMap GetAllProperties(const QString&, const QString& base)
    {
        QMap<QString, QString> values = system;
        values.insert(user);
        QVariantMap all {{base + QStringLiteral("/override"), true}};
        for (auto property = values.cbegin(); property != values.cend(); ++property) {
            if (property.key().startsWith(base + QLatin1Char('/')))
                all.insert(property.key(), property.value());
        }
        return all;
    }
    Q_SCRIPTABLE void SetProperty(const QString&, const QString& property, const QDBusVariant& value)
    {
        user.insert(property, value.variant().toString());
    }
    Q_SCRIPTABLE void ResetProperty(const QString&, const QString& property, bool) { user.remove(property); }
};

class DesktopShortcutsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(home_.isValid());
        // GSettings in a keyfile of the private home, never the desktop's dconf;
        // set before GLib first reads where the user's files are.
        qputenv("HOME", home_.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (home_.path() + QStringLiteral("/.config")).toUtf8());
        qputenv("GSETTINGS_BACKEND", "keyfile");
    }
    // What keys each test took from the desktop, kept apart from the others'.
    void init() { defaults_.emplace(home_.filePath(QLatin1String(QTest::currentTestFunction()) + QStringLiteral(".conf"))); }

    // GNOME's <Control>, Xfce's <Primary>, <Super>, a key of two names and
    // Print are read and written in the tests of the stores below.
    void acceleratorsReadInEverySpellingAndWriteInOne()
    {
        QCOMPARE(acceleratorFor(ctrlAltP), QStringLiteral("<Primary><Alt>p"));
        QCOMPARE(keyFromAccelerator(QStringLiteral("<Hyperspace>p")), std::nullopt);
    }

    // The command line a key runs, quoted for the shell, is the Xfce tests'.
    void gnomeKeysTakeFromTheDesktopAndGiveBackAndShowOnesBoundByHand()
    {
        std::unique_ptr<GnomeShortcuts> shortcuts = GnomeShortcuts::open(program, *defaults_);
        QVERIFY2(shortcuts, "the schema org.gnome.settings-daemon.plugins.media-keys is not installed");
        // The user's own keys: Print on the home folder, and a custom
        // shortcut of theirs on Ctrl+Alt+P.
        Settings keys(mediaKeys);
        keys.set("home", "['<Super>e', 'Print']");
        const QByteArray theirs = customFolder + "custom0/";
        Settings their(customSchema, theirs);
        their.set("command", "'gimp'");
        their.set("binding", "'<Control><Alt>p'");
        keys.set("custom-keybindings", "['" + theirs + "']");

        QVERIFY(shortcuts->set(ShortcutCommand::CaptureRegion, print).ok());
        QCOMPARE(keys["home"], QByteArray("['<Super>e']"));
        // Read back from a custom shortcut of Dropwell's, as GNOME finds it.
        QCOMPARE(shortcuts->key(ShortcutCommand::CaptureRegion).value(), std::optional<QKeyCombination>(print));

        // Another key gives Print back first.
        QVERIFY(shortcuts->set(ShortcutCommand::CaptureRegion, ctrlAltP).ok());
        QCOMPARE(keys["home"], QByteArray("['<Super>e', 'Print']"));
        QCOMPARE(their["binding"], QByteArray("''"));
        QCOMPARE(shortcuts->key(ShortcutCommand::CaptureRegion).value(), std::optional<QKeyCombination>(ctrlAltP));

        // That a later Dropwell still knows what to give back is the KDE test's:
        // every desktop's keys keep it in the same defaults store.
        QVERIFY(shortcuts->clear(ShortcutCommand::CaptureRegion).ok());
        QCOMPARE(their["binding"], QByteArray("'<Control><Alt>p'"));
        QCOMPARE(keys["custom-keybindings"], QByteArray("['" + theirs + "']"));
        QCOMPARE(shortcuts->key(ShortcutCommand::CaptureRegion).value(), std::nullopt);

        const QByteArray byHand = customFolder + "custom7/";
        Settings entry(customSchema, byHand);
        entry.set("command", "'dropwell --capture window'");
        entry.set("binding", "'<Super>Next'"); // Page Down's other name
        keys.set("custom-keybindings", "['" + theirs + "', '" + byHand + "']");
        QCOMPARE(shortcuts->key(ShortcutCommand::CaptureWindow).value(),
            std::optional<QKeyCombination>(QKeyCombination(Qt::MetaModifier, Qt::Key_PageDown)));
        QVERIFY(shortcuts->clear(ShortcutCommand::CaptureWindow).ok());
        QCOMPARE(keys["custom-keybindings"], QByteArray("['" + theirs + "']"));
    }

    void xfceFileKeepsWhatDropwellDidNotChange()
    {
        const QString path = home_.filePath(QStringLiteral("xfce/xfce4-keyboard-shortcuts.xml"));
        writeFile(path, xfceFile);
        XfceShortcuts shortcuts = xfceIn(path);

        QVERIFY(shortcuts.set(ShortcutCommand::CaptureRegion, print).ok());
        QByteArray expected = xfceFile;
        expected.replace("value=\"xfce4-screenshooter -f\"", "value=\"'/opt/drop well/bin/dropwell' --capture region\"");
        QCOMPARE(readFile(path), expected);
        QCOMPARE(shortcuts.key(ShortcutCommand::CaptureRegion).value(), std::optional<QKeyCombination>(print));

        // The Ctrl+Alt+Delete of the file, spelled Xfce's way, runs the recording now.
        QVERIFY(shortcuts.set(ShortcutCommand::RecordDisplay,
                             QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_Delete)).ok());
        QVERIFY(shortcuts.set(ShortcutCommand::CaptureWindow, QKeyCombination(Qt::MetaModifier, Qt::Key_W)).ok());
        QVERIFY(readFile(path).contains(
            "      <property name=\"&lt;Super&gt;w\" type=\"string\" value=\"'/opt/drop well/bin/dropwell' --capture window\"/>\n"));

        for (const ShortcutCommand command : shortcutCommands)
            QVERIFY(shortcuts.clear(command).ok());
        QCOMPARE(readFile(path), xfceFile);
    }

    // The file is read anew on every call: what one call wrote, the next reads.
    void xfceFileMadeWhereThereIsNone()
    {
        const QString path = home_.filePath(QStringLiteral("fresh/xfce4-keyboard-shortcuts.xml"));
        XfceShortcuts shortcuts = xfceIn(path);
        // Written under the first of Page Down's names.
        const QKeyCombination shiftPageDown(Qt::ShiftModifier, Qt::Key_PageDown);
        QVERIFY(shortcuts.set(ShortcutCommand::CapturePage, shiftPageDown).ok());
        QCOMPARE(shortcuts.key(ShortcutCommand::CapturePage).value(), std::optional<QKeyCombination>(shiftPageDown));
        QVERIFY(readFile(path).contains("<property name=\"custom\" type=\"empty\">\n"
                                        "      <property name=\"&lt;Shift&gt;Page_Down\" type=\"string\""));
    }

    void brokenXfceFileIsNeverWritten()
    {
        const QString path = home_.filePath(QStringLiteral("broken/xfce4-keyboard-shortcuts.xml"));
        const QByteArray broken = xfceFile.left(xfceFile.size() / 2);
        writeFile(path, broken);
        XfceShortcuts shortcuts = xfceIn(path);
        const Status set = shortcuts.set(ShortcutCommand::CaptureRegion, print);
        QVERIFY2(!set.ok() && set.message().contains(path), qPrintable(set.message()));
        QVERIFY(!shortcuts.key(ShortcutCommand::CaptureRegion).ok());
        QCOMPARE(readFile(path), broken);
    }

    void xfconfdKeepsTheSystemsKeyUnderDropwells()
    {
        ServedOnBus<FakeXfconfd> xfconfd(QString::fromLatin1(XfconfBus::service), QStringLiteral("/org/xfce/Xfconf"));
        QVERIFY(xfconfd.registered());
        const QString printProperty = QStringLiteral("/commands/custom/Print");
        xfconfd->system.insert(printProperty, QStringLiteral("xfce4-screenshooter"));
        XfceShortcuts shortcuts(std::make_unique<XfconfBus>(QDBusConnection::sessionBus(), QString::fromLatin1(XfceShortcuts::channel)),
            program, *defaults_);

        QVERIFY(shortcuts.set(ShortcutCommand::CaptureRegion, print).ok());
        QCOMPARE(xfconfd->user.value(printProperty), QStringLiteral("'/opt/drop well/bin/dropwell' --capture region"));
        QCOMPARE(shortcuts.key(ShortcutCommand::CaptureRegion).value(), std::optional<QKeyCombination>(print));
        QVERIFY(shortcuts.clear(ShortcutCommand::CaptureRegion).ok());
        QCOMPARE(xfconfd->user.value(printProperty, xfconfd->system.value(printProperty)), QStringLiteral("xfce4-screenshooter"));
    }

private:
    XfceShortcuts xfceIn(const QString& path)
    {
        return XfceShortcuts(std::make_unique<XfconfXmlFile>(path, QString::fromLatin1(XfceShortcuts::channel)), program, *defaults_);
    }

    QTemporaryDir home_;
    std::optional<QSettingsDefaults> defaults_;
};

QTEST_GUILESS_MAIN(DesktopShortcutsTest)
#include "tst_desktop_shortcuts.moc"
