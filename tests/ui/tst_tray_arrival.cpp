// The decision between the tray icon and the window that stands in for it,
// driven step by step: the tests ring the end of the wait themselves.

#include "platform/TrayHost.h"
#include "ui/TrayArrival.h"

#include <QTest>

namespace {

// A tray that comes when the test says.
class ManualTrayHost final : public TrayHost {
public:
    explicit ManualTrayHost(bool initially) : present(initially) {}
    bool isPresent() const override { return present; }
    void comeUp()
    {
        present = true;
        Q_EMIT appeared();
    }
    bool present;
};

} // namespace

class TrayArrivalTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void decidesOnceInOrder_data()
    {
        // Steps, by spaces: "x" the X11 tray comes up, "d" the D-Bus one does, "-x" the X11
        // one goes away, "begin", "wait" (the wait is over). What happened is
        // listed in order: "icon" for arrived(), "window" for fallbackDue().
        QTest::addColumn<QString>("initially");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("outcome");
        QTest::addRow("a tray at start: the icon at once, never the window")
            << QStringLiteral("x") << QStringLiteral("begin wait") << QStringLiteral("icon");
        QTest::addRow("no tray in time: the window once")
            << QString() << QStringLiteral("begin wait wait") << QStringLiteral("window");
        QTest::addRow("a tray after the window: the icon still comes")
            << QString() << QStringLiteral("begin wait d") << QStringLiteral("window icon");
        QTest::addRow("either kind of tray will do, and neither the second nor the end of the wait adds anything")
            << QString() << QStringLiteral("begin d x wait") << QStringLiteral("icon");
        QTest::addRow("a tray that comes and goes again, then another: one icon")
            << QStringLiteral("x") << QStringLiteral("begin -x x d") << QStringLiteral("icon");
    }
    void decidesOnceInOrder()
    {
        QFETCH(QString, initially);
        QFETCH(QString, steps);
        QFETCH(QString, outcome);

        ManualTrayHost x11(initially.contains(u'x'));
        ManualTrayHost dbus(initially.contains(u'd'));
        TrayArrival arrival({&x11, &dbus});
        QStringList happened;
        connect(&arrival, &TrayArrival::arrived, this, [&] { happened << QStringLiteral("icon"); });
        connect(&arrival, &TrayArrival::fallbackDue, this, [&] { happened << QStringLiteral("window"); });

        const QHash<QString, std::function<void()>> act {{QStringLiteral("begin"), [&] { arrival.begin(); }},
            {QStringLiteral("wait"), [&] { arrival.waitOver(); }}, {QStringLiteral("x"), [&] { x11.comeUp(); }},
            {QStringLiteral("d"), [&] { dbus.comeUp(); }}, {QStringLiteral("-x"), [&] { x11.present = false; }}};
        for (const QString& step : steps.split(u' ', Qt::SkipEmptyParts))
            act.value(step)();
        QCOMPARE(happened.join(u' '), outcome);
        QCOMPARE(arrival.hasArrived(), outcome.contains(QStringLiteral("icon")));
    }
};

QTEST_GUILESS_MAIN(TrayArrivalTest)
#include "tst_tray_arrival.moc"
