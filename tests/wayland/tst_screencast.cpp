// Screen casts through the desktop's ScreenCast portal and PipeWire: the
// real portal of a headless Wayland session for monitors, and a portal of
// the test's own on a private bus for what that one cannot do headless:
// windows, on portals that keep the user's choice and on older ones.
#include "platform/wayland/PipeWireFrameSource.h"
#include "platform/wayland/ScreenCastSession.h"
#include "tests/support/Awaited.h"
#include "tests/wayland/FakePortal.h"

#include <QTest>
#include <QUuid>

class ScreenCastTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theCastEndsWithItsSession()
    {
        auto session = std::make_unique<ScreenCastSession>(QDBusConnection::sessionBus());
        const StatusOr<ScreenCastStream> stream = awaited(session->start(ScreenCastSource::Monitor));
        QVERIFY2(stream.ok(), qPrintable(stream.status().message()));
        std::unique_ptr<PipeWireFrameSource> source;
        QVERIFY(PipeWireFrameSource::open(stream.value(), 3, source).ok());
        QVERIFY(source->grab(0).ok());

        session.reset();
        QTRY_COMPARE(source->grab(1).status().code(), ENOENT);
        QVERIFY(!source->grab(1).status().message().isEmpty());
    }

    // Tokens the desktop never gave, or cannot even read, are no reason to fail.
    void aTokenTheDesktopDoesNotKnowIsNoFailure()
    {
        for (const QString& token : {QUuid::createUuid().toString(QUuid::WithoutBraces), QStringLiteral("not-a-token")}) {
            ScreenCastSession session(QDBusConnection::sessionBus());
            const StatusOr<ScreenCastStream> stream = awaited(session.start(ScreenCastSource::Monitor, token));
            QVERIFY2(stream.ok(), qPrintable(stream.status().message()));
            QVERIFY(!stream.value().restoreToken.isEmpty());
        }
    }

    void aWindowCastTheDesktopGrants_data()
    {
        QTest::addColumn<uint>("version");
        QTest::addRow("by a portal that keeps the choice") << 5u;
        QTest::addRow("by a portal that keeps nothing") << 3u;
    }
    void aWindowCastTheDesktopGrants()
    {
        QFETCH(uint, version);
        PrivateBus bus;
        FakeDesktop desktop(bus.connect(QStringLiteral("desktop")));
        auto* portal = new FakeScreenCast(&desktop);
        portal->version = version;
        QVERIFY(desktop.serve());

        ScreenCastSession session(bus.connect(QStringLiteral("dropwell")));
        const StatusOr<ScreenCastStream> stream = awaited(session.start(ScreenCastSource::Window, QStringLiteral("old-token")));
        QCOMPARE(portal->selected.value(QStringLiteral("types")).toUInt(), 2u);
        QCOMPARE(portal->selected.value(QStringLiteral("multiple")).toBool(), false);
        QCOMPARE(portal->selected.value(QStringLiteral("cursor_mode")).toUInt(), 2u);
        // Only a portal of version 4 or later keeps a choice.
        QCOMPARE(portal->selected.value(QStringLiteral("persist_mode")).toUInt(), version >= 4 ? 2u : 0u);
        QCOMPARE(portal->selected.value(QStringLiteral("restore_token")).toString(),
            version >= 4 ? QStringLiteral("old-token") : QString());
        QVERIFY2(stream.ok(), qPrintable(stream.status().message()));
        QCOMPARE(stream.value().node, 42u);
        QCOMPARE(stream.value().source, ScreenCastSource::Window);
        QCOMPARE(stream.value().size, QSize(640, 480));
        QCOMPARE(stream.value().position, QPoint(20, 30));
        QCOMPARE(stream.value().restoreToken, QStringLiteral("window-token"));
        QVERIFY(stream.value().pipewire.isValid());
    }
};

QTEST_GUILESS_MAIN(ScreenCastTest)
#include "tst_screencast.moc"
