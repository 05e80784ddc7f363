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

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");

// What a panel's tray does on X11: a window of its own owns the selection.
// The panel quits when it is destroyed: its connection, its window and the
// selection go with it.
class FakePanel {
public:
    FakePanel()
    {
        xcb_connection_t* c = connection_.get();
        const xcb_window_t window = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window, xcb_setup_roots_iterator(xcb_get_setup(c)).data->root, 0, 0,
            1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(screen_);
        const auto atom =
            quietReply(c, xcb_intern_atom_reply, xcb_intern_atom(c, 0, uint16_t(name.size()), name.c_str()));
        xcb_set_selection_owner(c, window, atom->atom, XCB_CURRENT_TIME);
        xcb_flush(c);
    }

private:
    int screen_ = 0;
    XcbConnection connection_ {xcb_connect(nullptr, &screen_)};
};

// The watcher of a StatusNotifierItem desktop, on a connection of its own,
// with the one property and signal that tell of a host.
class FakeWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
public:
    ~FakeWatcher() override { QDBusConnection::disconnectFromBus(bus.name()); }

    bool start()
    {
        return bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), this,
                   QDBusConnection::ExportAllProperties | QDBusConnection::ExportAllSignals)
            && bus.registerService(watcherService);
    }
    bool hostRegistered() const
    {
        ++timesAsked;
        return registered;
    }

    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("watcher"));
    bool registered = false;
    mutable int timesAsked = 0;

Q_SIGNALS:
    void StatusNotifierHostRegistered();
};

} // namespace

class TrayHostsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void systemTrayIsHeardOfAsItComesAndGoes()
    {
        X11TraySelection tray;
        QSignalSpy appeared(&tray, &TrayHost::appeared);
        QVERIFY(!tray.isPresent());

        auto panel = std::make_unique<FakePanel>();
        QVERIFY(appeared.wait(5000));

        panel.reset();
        QTRY_VERIFY_WITH_TIMEOUT(!tray.isPresent(), 5000);

        // A panel that restarts brings its tray back, and that is news again.
        panel = std::make_unique<FakePanel>();
        QVERIFY(appeared.wait(5000));
        QCOMPARE(appeared.count(), 2);
        QVERIFY(tray.isPresent());

        // One that was there first is found without any news.
        X11TraySelection later;
        QVERIFY(later.isPresent());
    }

    // A watcher that comes with its host is the Wayland end-to-end tests':
    // Dropwell starts there beside a bar that hosts the tray already.
    void notifierTrayNeedsAHost()
    {
        StatusNotifierHost tray;
        QSignalSpy appeared(&tray, &TrayHost::appeared);
        FakeWatcher watcher;
        QVERIFY(watcher.start());
        // A watcher without a host is no tray yet.
        QTRY_COMPARE(watcher.timesAsked, 1);
        // Once this call returns, the watcher's answer before it has reached
        // the tray too.
        QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(watcherService, QStringLiteral("/StatusNotifierWatcher"),
            QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping")));
        QCoreApplication::processEvents();
        QVERIFY(!tray.isPresent());
        QCOMPARE(appeared.count(), 0);

        watcher.registered = true;
        Q_EMIT watcher.StatusNotifierHostRegistered();
        QVERIFY(appeared.wait(5000));
        QVERIFY(tray.isPresent());
        QCOMPARE(appeared.count(), 1);

        watcher.bus.unregisterService(watcherService);
        QTRY_VERIFY_WITH_TIMEOUT(!tray.isPresent(), 5000);
    }
};

QTEST_GUILESS_MAIN(TrayHostsTest)
#include "tst_tray_hosts.moc"
