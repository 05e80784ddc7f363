// "Follow the desktop": the desktop's colour scheme read from a Settings
// portal on a private session bus, followed as it changes, and the model's
// appearance that follows it.
#include "model/AppModel.h"
#include "platform/linux/PortalColorScheme.h"
#include "tests/support/ServedOnBus.h"
#include "tests/support/TestSupport.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QSignalSpy>
#include <QTest>

#include <atomic>

static const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");

// The portal's Settings interface as GNOME's and KDE's portals serve it:
// Read() wraps the value in a second variant. Served from a thread of its own
// while the test changes the scheme.
class SettingsPortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")
public:
    SettingsPortal(QDBusConnection bus, uint scheme) : bus_(std::move(bus)), scheme_(scheme) {}

    void change(const QString& key, uint value, const QString& group = QStringLiteral("org.freedesktop.appearance"))
    {
        if (key == QStringLiteral("color-scheme"))
            scheme_ = value;
        bus_.send(QDBusMessage::createSignal(portalPath, QStringLiteral("org.freedesktop.portal.Settings"), QStringLiteral("SettingChanged"))
            << group << key << QVariant::fromValue(QDBusVariant(value)));
    }

public Q_SLOTS:
    Q_SCRIPTABLE QDBusVariant Read(const QString& group, const QString& key)
    {
        const bool scheme = group == QStringLiteral("org.freedesktop.appearance") && key == QStringLiteral("color-scheme");
        return QDBusVariant(QVariant::fromValue(QDBusVariant(scheme ? scheme_.load() : 0u)));
    }

private:
    QDBusConnection bus_;
    std::atomic<uint> scheme_;
};

class TestColorScheme : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void followsThePortalOverTheGuess()
    {
        ServedOnBus<SettingsPortal> portal(QStringLiteral("org.freedesktop.portal.Desktop"), portalPath, 2u); // prefer light
        QVERIFY(portal.registered());
        PortalColorScheme scheme(QDBusConnection::sessionBus(), true);
        QSignalSpy changed(&scheme, &DesktopColorScheme::changed);
        QVERIFY(scheme.prefersDark()); // the guess, until the portal has answered
        QTRY_VERIFY(!scheme.prefersDark());

        portal->change(QStringLiteral("color-scheme"), 1);
        QTRY_VERIFY(scheme.prefersDark());
        // Another setting and another group's scheme say light, the scheme
        // says dark, then light: only the last is a change, and the bus keeps
        // their order.
        portal->change(QStringLiteral("accent-color"), 2);
        portal->change(QStringLiteral("color-scheme"), 2, QStringLiteral("org.gnome.desktop.interface"));
        portal->change(QStringLiteral("color-scheme"), 1);
        portal->change(QStringLiteral("color-scheme"), 2);
        QTRY_VERIFY(!scheme.prefersDark());
        QCOMPARE(changed.count(), 3);

        // "No preference" brings the guess back: here, dark.
        portal->change(QStringLiteral("color-scheme"), 0);
        QTRY_VERIFY(scheme.prefersDark());
    }

    void theModelShowsTheDesktopsChoiceOnlyWhenFollowingIt()
    {
        TestWorld world;
        const auto model = world.makeModel();
        QSignalSpy changed(model.get(), &AppModel::settingsChanged);
        QCOMPARE(model->shownAppearance(), AppearanceMode::Light); // new users follow the desktop
        model->setDesktopPrefersDark(true);
        QCOMPARE(model->shownAppearance(), AppearanceMode::Black);
        QCOMPARE(changed.count(), 1);

        model->changeSettings([](AppSettings& s) { s.appearance = AppearanceMode::Grey; });
        model->setDesktopPrefersDark(false);
        QCOMPARE(model->shownAppearance(), AppearanceMode::Grey);
        QCOMPARE(changed.count(), 2); // the change to grey, not the desktop's
    }
};

QTEST_GUILESS_MAIN(TestColorScheme)
#include "tst_color_scheme.moc"
