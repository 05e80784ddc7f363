// Keys the desktop asks the user for, through a GlobalShortcuts portal of
// the test's own on the private bus: a press of a key becomes the command
// the launcher would have handed over, and Escape, bound while a recording
// runs, stops it.
#include "app/Command.h"
#include "platform/linux/PortalEscape.h"
#include "platform/linux/PortalShortcuts.h"
#include "tests/support/FakeGlobalShortcuts.h"
#include "tests/support/ServedOnBus.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// The portal, with the keys its dialog lets the user choose, by id.
ServedOnBus<FakeGlobalShortcuts> portalChoosing(const QMap<QString, QString>& choice)
{
    return {QStringLiteral("org.freedesktop.portal.Desktop"), QStringLiteral("/org/freedesktop/portal/desktop"), choice};
}

} // namespace

class PortalShortcutsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Keys the desktop kept work again in a later start, without asking.
    void theDesktopsChoiceIsShownAndItsKeysRunTheCommands()
    {
        auto desktop = portalChoosing({{QStringLiteral("region"), QStringLiteral("Ctrl+Print")}, {QStringLiteral("record"), QStringLiteral("Meta+R")}});
        QVERIFY(desktop.registered());
        {
            PortalShortcuts shortcuts(QDBusConnection::sessionBus());
            QTRY_VERIFY(shortcuts.offered());
            QCOMPARE(shortcuts.trigger(ShortcutCommand::CaptureRegion), QString());

            shortcuts.choose();
            QTRY_COMPARE(shortcuts.trigger(ShortcutCommand::CaptureRegion), QStringLiteral("Ctrl+Print"));
            QCOMPARE(shortcuts.trigger(ShortcutCommand::RecordDisplay), QStringLiteral("Meta+R"));
            // Every command, described for the desktop's dialog.
            const QList<PortalShortcut> asked = desktop->seen().asked;
            QCOMPARE(asked.size(), qsizetype(std::size(shortcutCommands)));
            QCOMPARE(asked.at(0).id, QStringLiteral("region"));
            QCOMPARE(asked.at(0).properties.value(QStringLiteral("description")).toString(), QStringLiteral("Capture a region"));

            QSignalSpy activated(&shortcuts, &ChosenShortcuts::activated);
            desktop->press(QStringLiteral("/org/freedesktop/portal/desktop/session/other/x"), QStringLiteral("window"));
            desktop->press(desktop->seen().session, QStringLiteral("record"));
            QTRY_COMPARE(activated.count(), 1); // the other session's press was not Dropwell's
            const Command performed = Command::forShortcut(activated.at(0).at(0).value<ShortcutCommand>());
            QCOMPARE(performed.action, Command::Action::Record);
            QCOMPARE(performed.target, QStringLiteral("display"));

            // Choosing again binds again, in a session of its own: the portal
            // binds once per session.
            const QString first = desktop->seen().session;
            shortcuts.choose();
            QTRY_COMPARE(desktop->seen().binds, 2);
            QVERIFY(desktop->seen().session != first);
        }
        PortalShortcuts later(QDBusConnection::sessionBus());
        QTRY_COMPARE(later.trigger(ShortcutCommand::RecordDisplay), QStringLiteral("Meta+R"));
        QTRY_COMPARE(desktop->seen().binds, 3);
        QCOMPARE(desktop->seen().dialogs, 1);
    }

    void escapeIsBoundOnlyWhileHeld()
    {
        auto desktop = portalChoosing({{QStringLiteral("stop-recording"), QStringLiteral("Escape")}});
        QVERIFY(desktop.registered());
        PortalEscape escape(QDBusConnection::sessionBus());
        QTRY_VERIFY(escape.grab());
        QTRY_COMPARE(desktop->seen().binds, 1);
        const QList<PortalShortcut> asked = desktop->seen().asked;
        QCOMPARE(asked.size(), qsizetype(1));
        QCOMPARE(asked.at(0).properties,
            QVariantMap({{QStringLiteral("preferred_trigger"), QStringLiteral("Escape")}, {QStringLiteral("description"), QStringLiteral("Stop the recording")}}));

        QSignalSpy pressed(&escape, &GlobalEscape::pressed);
        desktop->press(desktop->seen().session, QStringLiteral("stop-recording"));
        QTRY_COMPARE(pressed.count(), 1);

        // Each recording holds it in a session of its own, which ends with it:
        // the last one's key is not Dropwell's any more.
        const QString first = desktop->seen().session;
        escape.release();
        desktop->press(first, QStringLiteral("stop-recording"));
        QVERIFY(escape.grab());
        // The press went out before the answers that led to this binding.
        QTRY_COMPARE(desktop->seen().binds, 2);
        QCOMPARE(pressed.count(), 1);
        QVERIFY(desktop->seen().session != first);
        QCOMPARE(desktop->seen().dialogs, 1); // the desktop asked once
        desktop->press(desktop->seen().session, QStringLiteral("stop-recording"));
        QTRY_COMPARE(pressed.count(), 2);
    }
};

QTEST_GUILESS_MAIN(PortalShortcutsTest)
#include "tst_portal_shortcuts.moc"
