// The two kinds of tray, heard of as they come and go on a private X server
// and session bus: a second X client takes the system tray's selection the
// way a panel does, and a watcher service of the test's own stands in for a
// panel's StatusNotifierWatcher.

#include "platform/linux/StatusNotifierHost.h"
#include "platform/x11/X11TraySelection.h"
#include "platform/x11/XcbReply.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QSignalSpy>
#include <QTest>

#include <string>

namespace {

// What a panel's tray does on X11: a window of its own owns the selection.
class FakePanel {
public:
    FakePanel() : connection_(xcb_connect(nullptr, &screen_)) {}

    void takeTray()
    {
        xcb_connection_t* c = connection_.get();
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        window_ = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0,
            XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(screen_);
        const auto atom =
            quietReply(c, xcb_intern_atom_reply, xcb_intern_atom(c, 0, uint16_t(name.size()), name.c_str()));
        xcb_set_selection_owner(c, window_, atom->atom, XCB_CURRENT_TIME);
        xcb_flush(c);
    }

    // The panel quits: its window goes, and the selection with it.
    void quit()
    {
        xcb_destroy_window(connection_.get(), window_);
        xcb_flush(connection_.get());
    }

private:
    int screen_ = 0;
    XcbConnection connection_;
    xcb_window_t window_ = XCB_WINDOW_NONE;
};

// The watcher of a StatusNotifierItem desktop, on a connection of its own,
// with the one property and signal that tell of a host.
class FakeWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
public:
    explicit FakeWatcher(bool hostRegistered)
        : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("watcher")))
        , hostRegistered_(hostRegistered)
    {
    }

    ~FakeWatcher() override { QDBusConnection::disconnectFromBus(bus_.name()); }

    bool start()
    {
        return bus_.registerObject(QStringLiteral("/StatusNotifierWatcher"), this,
                   QDBusConnection::ExportAllProperties | QDBusConnection::ExportAllSignals)
            && bus_.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"));
    }

    void stop() { bus_.unregisterService(QStringLiteral("org.kde.StatusNotifierWatcher")); }
    bool hostRegistered() const
    {
        ++timesAsked_;
        return hostRegistered_;
    }

    int timesAsked() const { return timesAsked_; }
    void registerHost()
    {
        hostRegistered_ = true;
        Q_EMIT StatusNotifierHostRegistered();
    }

Q_SIGNALS:
    void StatusNotifierHostRegistered();

private:
    QDBusConnection bus_;
    bool hostRegistered_;
    mutable int timesAsked_ = 0;
};

// Once this returns, every answer the watcher gave on the session bus
// before it has reached whoever asked there.
void roundTripToWatcher()
{
    QDBusMessage ask = QDBusMessage::createMethodCall(QStringLiteral("org.kde.StatusNotifierWatcher"),
        QStringLiteral("/StatusNotifierWatcher"), QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping"));
    QDBusConnection::sessionBus().call(ask);
    QCoreApplication::processEvents();
}

} // namespace

class TrayHostsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void systemTrayIsHeardOfAsItComesAndGoes()
    {
        X11TraySelection tray;
        QSignalSpy appeared(&tray, &TrayHost::appeared);
        QVERIFY(!tray.isPresent());

        FakePanel panel;
        panel.takeTray();
        QVERIFY(appeared.wait(5000));
        QVERIFY(tray.isPresent());

        panel.quit();
        QTRY_VERIFY_WITH_TIMEOUT(!tray.isPresent(), 5000);

        // A panel that restarts brings its tray back, and that is news again.
        FakePanel restarted;
        restarted.takeTray();
        QVERIFY(appeared.wait(5000));
        QCOMPARE(appeared.count(), 2);
        QVERIFY(tray.isPresent());

        // One that was there first is found without any news.
        X11TraySelection later;
        QVERIFY(later.isPresent());
    }

    void notifierTrayNeedsAHost_data()
    {
        QTest::addColumn<bool>("hostAtStart");
        QTest::addRow("the panel's host registers after the watcher") << false;
        QTest::addRow("the watcher comes with its host") << true;
    }

    void notifierTrayNeedsAHost()
    {
        QFETCH(bool, hostAtStart);
        StatusNotifierHost tray;
        QSignalSpy appeared(&tray, &TrayHost::appeared);
        QVERIFY(!tray.isPresent());

        FakeWatcher watcher(hostAtStart);
        QVERIFY(watcher.start());
        if (!hostAtStart) {
            // A watcher without a host is no tray yet.
            QTRY_COMPARE(watcher.timesAsked(), 1);
            roundTripToWatcher();
            QVERIFY(!tray.isPresent());
            QCOMPARE(appeared.count(), 0);
            watcher.registerHost();
        }
        QVERIFY(appeared.wait(5000));
        QVERIFY(tray.isPresent());
        QCOMPARE(appeared.count(), 1);

        watcher.stop();
        QTRY_VERIFY_WITH_TIMEOUT(!tray.isPresent(), 5000);
    }
};

QTEST_GUILESS_MAIN(TrayHostsTest)
#include "tst_tray_hosts.moc"
