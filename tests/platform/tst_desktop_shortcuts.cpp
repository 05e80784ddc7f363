// Dropwell's keys where the desktops keep theirs: GNOME's GSettings (in a
// keyfile of a private home), Xfce's xfconf file and an xfconfd of the
// test's own on the private bus; what a key took from the desktop comes back
// when it is cleared, also after a restart.
#include "platform/linux/GnomeShortcuts.h"
#include "platform/linux/GtkAccelerator.h"
#include "platform/linux/QSettingsDefaults.h"
#include "platform/linux/XfceShortcuts.h"
#include "platform/linux/XfconfBus.h"
#include "platform/linux/XfconfXmlFile.h"
#include "tests/support/ServedOnBus.h"
#include "tests/support/TestSupport.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
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
const char* customFolder = "/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/";

// One GSettings object for the test's look at the store.
struct Settings {
    explicit Settings(const char* schema, const QString& path = {})
        : settings(path.isEmpty() ? g_settings_new(schema) : g_settings_new_with_path(schema, path.toUtf8().constData()))
    {
    }
    ~Settings() { g_object_unref(settings); }
    QStringList list(const char* key) const
    {
        gchar** values = g_settings_get_strv(settings, key);
        QStringList list;
        for (gchar** value = values; *value; ++value)
            list.append(QString::fromUtf8(*value));
        g_strfreev(values);
        return list;
    }
    void setList(const char* key, const QStringList& list)
    {
        std::vector<QByteArray> utf8;
        std::vector<const gchar*> values;
        for (const QString& value : list)
            utf8.push_back(value.toUtf8());
        for (const QByteArray& value : utf8)
            values.push_back(value.constData());
        values.push_back(nullptr);
        g_settings_set_strv(settings, key, values.data());
    }
    QString string(const char* key) const
    {
        gchar* value = g_settings_get_string(settings, key);
        const QString text = QString::fromUtf8(value);
        g_free(value);
        return text;
    }
    void set(const char* key, const QString& value) { g_settings_set_string(settings, key, value.toUtf8().constData()); }
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
class FakeXfconfd : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.xfce.Xfconf")
public:
    explicit FakeXfconfd(const QDBusConnection&) {}

    QMap<QString, QString> system;
    QMap<QString, QString> user;

public Q_SLOTS:
    Q_SCRIPTABLE QVariantMap GetAllProperties(const QString&, const QString& base)
    {
        QVariantMap all;
        for (const QMap<QString, QString>* layer : {&system, &user}) {
            for (auto property = layer->cbegin(); property != layer->cend(); ++property) {
                if (property.key().startsWith(base + QLatin1Char('/')))
                    all.insert(property.key(), property.value());
            }
        }
        all.insert(base + QStringLiteral("/override"), true);
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

    // GNOME's <Control>, Xfce's <Primary>, <Super> and Print are read and
    // written in the tests of the stores below.
    void acceleratorsReadInEverySpellingAndWriteInOne()
    {
        const QKeyCombination shiftPageDown(Qt::ShiftModifier, Qt::Key_PageDown);
        QCOMPARE(keyFromAccelerator(QStringLiteral("<Shift>Next")), std::optional<QKeyCombination>(shiftPageDown));
        QCOMPARE(acceleratorFor(shiftPageDown), QStringLiteral("<Shift>Page_Down"));
        QCOMPARE(acceleratorFor(ctrlAltP), QStringLiteral("<Primary><Alt>p"));
        QCOMPARE(keyFromAccelerator(QStringLiteral("<Hyperspace>p")), std::nullopt);
    }

    void gnomeKeysTakeFromTheDesktopAndGiveBackAndShowOnesBoundByHand()
    {
        QSettingsDefaults defaults(home_.filePath(QStringLiteral("dropwell-defaults.conf")));
        std::unique_ptr<GnomeShortcuts> shortcuts = GnomeShortcuts::open(program, defaults);
        QVERIFY2(shortcuts, "the schema org.gnome.settings-daemon.plugins.media-keys is not installed");
        // The user's own keys: Print on the home folder, and a custom
        // shortcut of theirs on Ctrl+Alt+P.
        Settings keys(mediaKeys);
        keys.setList("home", {QStringLiteral("<Super>e"), QStringLiteral("Print")});
        const QString theirs = QString::fromLatin1(customFolder) + QStringLiteral("custom0/");
        Settings their(customSchema, theirs);
        their.set("command", QStringLiteral("gimp"));
        their.set("binding", QStringLiteral("<Control><Alt>p"));
        keys.setList("custom-keybindings", {theirs});

        QVERIFY(shortcuts->set(ShortcutCommand::CaptureRegion, print).ok());
        QCOMPARE(shortcuts->key(ShortcutCommand::CaptureRegion).value(), std::optional<QKeyCombination>(print));
        QCOMPARE(keys.list("home"), QStringList {QStringLiteral("<Super>e")});
        const QStringList paths = keys.list("custom-keybindings");
        QCOMPARE(paths.size(), 2);
        Settings ours(customSchema, paths.at(1));
        QCOMPARE(ours.string("command"), QStringLiteral("'/opt/drop well/bin/dropwell' --capture region"));
        QCOMPARE(ours.string("binding"), QStringLiteral("Print"));

        // Another key gives Print back first.
        QVERIFY(shortcuts->set(ShortcutCommand::CaptureRegion, ctrlAltP).ok());
        QCOMPARE(keys.list("home"), (QStringList {QStringLiteral("<Super>e"), QStringLiteral("Print")}));
        QCOMPARE(their.string("binding"), QString());
        QCOMPARE(shortcuts->key(ShortcutCommand::CaptureRegion).value(), std::optional<QKeyCombination>(ctrlAltP));
        QCOMPARE(shortcuts->key(ShortcutCommand::CaptureWindow).value(), std::nullopt);

        // A later Dropwell still knows what to give back.
        shortcuts.reset();
        shortcuts = GnomeShortcuts::open(program, defaults);
        QVERIFY(shortcuts->clear(ShortcutCommand::CaptureRegion).ok());
        QCOMPARE(their.string("binding"), QStringLiteral("<Control><Alt>p"));
        QCOMPARE(keys.list("custom-keybindings"), QStringList {theirs});
        QCOMPARE(shortcuts->key(ShortcutCommand::CaptureRegion).value(), std::nullopt);

        const QString byHand = QString::fromLatin1(customFolder) + QStringLiteral("custom7/");
        Settings entry(customSchema, byHand);
        entry.set("command", QStringLiteral("dropwell --capture window"));
        entry.set("binding", QStringLiteral("<Super>w"));
        keys.setList("custom-keybindings", {theirs, byHand});
        QCOMPARE(shortcuts->key(ShortcutCommand::CaptureWindow).value(),
            std::optional<QKeyCombination>(QKeyCombination(Qt::MetaModifier, Qt::Key_W)));
        QVERIFY(shortcuts->clear(ShortcutCommand::CaptureWindow).ok());
        QCOMPARE(keys.list("custom-keybindings"), QStringList {theirs});
    }

    void xfceFileKeepsWhatDropwellDidNotChange()
    {
        const QString path = home_.filePath(QStringLiteral("xfce/xfce4-keyboard-shortcuts.xml"));
        writeFile(path, xfceFile);
        QSettingsDefaults defaults(home_.filePath(QStringLiteral("dropwell-defaults.conf")));
        XfceShortcuts shortcuts(std::make_unique<XfconfXmlFile>(path, QStringLiteral("xfce4-keyboard-shortcuts")), program, defaults);

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

    void xfceFileMadeWhereThereIsNone()
    {
        const QString path = home_.filePath(QStringLiteral("fresh/xfce4-keyboard-shortcuts.xml"));
        QSettingsDefaults defaults(home_.filePath(QStringLiteral("fresh-defaults.conf")));
        XfceShortcuts shortcuts(std::make_unique<XfconfXmlFile>(path, QStringLiteral("xfce4-keyboard-shortcuts")), program, defaults);
        QVERIFY(shortcuts.set(ShortcutCommand::CapturePage, QKeyCombination(Qt::ShiftModifier, Qt::Key_Print)).ok());
        XfceShortcuts later(std::make_unique<XfconfXmlFile>(path, QStringLiteral("xfce4-keyboard-shortcuts")), program, defaults);
        QCOMPARE(later.key(ShortcutCommand::CapturePage).value(),
            std::optional<QKeyCombination>(QKeyCombination(Qt::ShiftModifier, Qt::Key_Print)));
        QVERIFY(readFile(path).contains("<property name=\"custom\" type=\"empty\">\n"
                                        "      <property name=\"&lt;Shift&gt;Print\" type=\"string\""));
    }

    void brokenXfceFileIsNeverWritten()
    {
        const QString path = home_.filePath(QStringLiteral("broken/xfce4-keyboard-shortcuts.xml"));
        const QByteArray broken = xfceFile.left(xfceFile.size() / 2);
        writeFile(path, broken);
        QSettingsDefaults defaults(home_.filePath(QStringLiteral("broken-defaults.conf")));
        XfceShortcuts shortcuts(std::make_unique<XfconfXmlFile>(path, QStringLiteral("xfce4-keyboard-shortcuts")), program, defaults);
        const Status set = shortcuts.set(ShortcutCommand::CaptureRegion, print);
        QVERIFY(!set.ok());
        QVERIFY2(set.message().contains(path), qPrintable(set.message()));
        QVERIFY(!shortcuts.key(ShortcutCommand::CaptureRegion).ok());
        QCOMPARE(readFile(path), broken);
    }

    void xfconfdKeepsTheSystemsKeyUnderDropwells()
    {
        ServedOnBus<FakeXfconfd> onBus(QString::fromLatin1(XfconfBus::service), QStringLiteral("/org/xfce/Xfconf"));
        QVERIFY(onBus.registered());
        FakeXfconfd& xfconfd = *onBus;
        xfconfd.system.insert(QStringLiteral("/commands/custom/Print"), QStringLiteral("xfce4-screenshooter"));
        QSettingsDefaults defaults(home_.filePath(QStringLiteral("bus-defaults.conf")));
        XfceShortcuts shortcuts(std::make_unique<XfconfBus>(QDBusConnection::sessionBus(), QStringLiteral("xfce4-keyboard-shortcuts")),
            program, defaults);

        QVERIFY(shortcuts.set(ShortcutCommand::CaptureRegion, print).ok());
        QCOMPARE(xfconfd.user.value(QStringLiteral("/commands/custom/Print")),
            QStringLiteral("'/opt/drop well/bin/dropwell' --capture region"));
        QCOMPARE(shortcuts.key(ShortcutCommand::CaptureRegion).value(), std::optional<QKeyCombination>(print));
        QVERIFY(shortcuts.clear(ShortcutCommand::CaptureRegion).ok());
        QCOMPARE(xfconfd.user.value(QStringLiteral("/commands/custom/Print"), xfconfd.system.value(QStringLiteral("/commands/custom/Print"))),
            QStringLiteral("xfce4-screenshooter"));
        QCOMPARE(shortcuts.key(ShortcutCommand::CaptureRegion).value(), std::nullopt);
    }

private:
    QTemporaryDir home_;
};

QTEST_GUILESS_MAIN(DesktopShortcutsTest)
#include "tst_desktop_shortcuts.moc"
