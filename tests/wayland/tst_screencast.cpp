// Screen casts through the desktop's ScreenCast portal and PipeWire: the
// real portal of a headless Wayland session for monitors, and a portal of
// the test's own on a private bus for what that one cannot do headless
// (windows, a user who cancels, a desktop that refuses).
#include "platform/wayland/PipeWireFrameSource.h"
#include "platform/wayland/ScreenCastSession.h"
#include "tests/support/Awaited.h"
#include "tests/wayland/FakePortal.h"

#include <QProcess>
#include <QTest>
#include <QUuid>

namespace {

// sway's background, outside the bar at the top of the 1920 x 1080 output.
const QRgb background = qRgb(0x33, 0x66, 0x99);
constexpr int buffers = 3;
constexpr std::chrono::seconds pictureWait {5};

QRgb middleOf(const FramePixels& pixels)
{
    const uint8_t* pixel = pixels.data + (pixels.size.height() / 2) * pixels.bytesPerLine + pixels.size.width() / 2 * 4;
    return qRgb(pixel[2], pixel[1], pixel[0]);
}

} // namespace

class ScreenCastTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aMonitorCastShowsTheScreenAndRepeatsItWhileItIsStill()
    {
        ScreenCastSession session(QDBusConnection::sessionBus());
        const StatusOr<ScreenCastStream> stream = awaited(session.start(ScreenCastSource::Monitor));
        QVERIFY2(stream.ok(), qPrintable(stream.status().message()));
        QCOMPARE(stream.value().size, QSize(1920, 1080));
        QVERIFY(stream.value().pipewire.isValid());

        std::unique_ptr<PipeWireFrameSource> source;
        const Status opened = PipeWireFrameSource::open(stream.value(), buffers, source);
        QVERIFY2(opened.ok(), qPrintable(opened.message()));
        const Status first = awaited(source->firstPicture(pictureWait));
        QVERIFY2(first.ok(), qPrintable(first.message()));
        QCOMPARE(source->frameSize(), QSize(1920, 1080));
        const StatusOr<QImage> image = awaited(source->image(pictureWait));
        QVERIFY2(image.ok(), qPrintable(image.status().message()));
        QCOMPARE(image.value().format(), QImage::Format_RGB32);
        QCOMPARE(image.value().pixel(960, 540), background);

        // The desktop sends nothing new while nothing changes; every grab,
        // at the recorder's pace, still has a picture, each in its own buffer.
        for (int grab = 0; grab < 90; ++grab) {
            const StatusOr<FramePixels> pixels = source->grab(grab % buffers);
            QVERIFY2(pixels.ok(), qPrintable(pixels.status().message()));
            QCOMPARE(pixels.value().size, QSize(1920, 1080));
            QCOMPARE(middleOf(pixels.value()), background);
        }
        // A change on screen reaches the next grabs.
        const QRgb changed = qRgb(0xcc, 0x33, 0x00);
        QProcess swaymsg;
        swaymsg.start(QStringLiteral("swaymsg"), {QStringLiteral("output * bg #cc3300 solid_color")});
        QVERIFY(swaymsg.waitForFinished() && swaymsg.exitCode() == 0);
        QTRY_COMPARE_WITH_TIMEOUT(middleOf(source->grab(0).value()), changed, 10000);
        QCOMPARE(awaited(source->image(pictureWait)).value().pixel(960, 540), changed);
    }

    void theCastEndsWithItsSession()
    {
        auto session = std::make_unique<ScreenCastSession>(QDBusConnection::sessionBus());
        const StatusOr<ScreenCastStream> stream = awaited(session->start(ScreenCastSource::Monitor));
        QVERIFY2(stream.ok(), qPrintable(stream.status().message()));
        std::unique_ptr<PipeWireFrameSource> source;
        QVERIFY(PipeWireFrameSource::open(stream.value(), buffers, source).ok());
        QVERIFY(source->grab(0).ok());

        session.reset();
        QTRY_COMPARE(source->grab(1).status().code(), ENOENT);
        QVERIFY(!source->grab(1).status().message().isEmpty());
    }

    void aRestoreTokenIsHandedOnToTheNextSession()
    {
        ScreenCastSession first(QDBusConnection::sessionBus());
        const StatusOr<ScreenCastStream> firstStream = awaited(first.start(ScreenCastSource::Monitor));
        QVERIFY2(firstStream.ok(), qPrintable(firstStream.status().message()));
        QVERIFY(!firstStream.value().restoreToken.isEmpty());

        ScreenCastSession second(QDBusConnection::sessionBus());
        const StatusOr<ScreenCastStream> secondStream
            = awaited(second.start(ScreenCastSource::Monitor, firstStream.value().restoreToken));
        QVERIFY2(secondStream.ok(), qPrintable(secondStream.status().message()));
        QCOMPARE(secondStream.value().size, firstStream.value().size);
        // The wlr portal keeps the choice and hands out the same token again.
        QCOMPARE(secondStream.value().restoreToken, firstStream.value().restoreToken);
        // Tokens the desktop never gave, or cannot even read, are no reason to fail.
        for (const QString& token : {QUuid::createUuid().toString(QUuid::WithoutBraces), QStringLiteral("not-a-token")}) {
            ScreenCastSession other(QDBusConnection::sessionBus());
            const StatusOr<ScreenCastStream> otherStream = awaited(other.start(ScreenCastSource::Monitor, token));
            QVERIFY2(otherStream.ok(), qPrintable(otherStream.status().message()));
            QVERIFY(!otherStream.value().restoreToken.isEmpty());
        }
    }

    void theDesktopsAnswerToAWindowCast_data()
    {
        QTest::addColumn<uint>("version");
        QTest::addColumn<uint>("response");
        QTest::addColumn<int>("code");
        QTest::addRow("granted") << 5u << 0u << 0;
        QTest::addRow("granted by a portal that keeps nothing") << 3u << 0u << 0;
        QTest::addRow("cancelled") << 5u << 1u << ECANCELED;
        QTest::addRow("refused") << 5u << 2u << EACCES;
    }
    void theDesktopsAnswerToAWindowCast()
    {
        QFETCH(uint, version);
        QFETCH(uint, response);
        QFETCH(int, code);
        PrivateBus bus;
        FakeDesktop desktop(bus.connect(QStringLiteral("desktop")));
        auto* portal = new FakeScreenCast(&desktop);
        portal->version = version;
        portal->startResponse = response;
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
        QCOMPARE(stream.status().code(), code);
        if (code == EACCES)
            QCOMPARE(stream.status().message(), QStringLiteral("The desktop refused screen capture."));
        if (code != 0)
            return;
        QCOMPARE(stream.value().node, 42u);
        QCOMPARE(stream.value().source, ScreenCastSource::Window);
        QCOMPARE(stream.value().size, QSize(640, 480));
        QCOMPARE(stream.value().position, QPoint(20, 30));
        QCOMPARE(stream.value().restoreToken, QStringLiteral("window-token"));
        QVERIFY(stream.value().pipewire.isValid());
    }

    void aBusWithoutTheScreenCastPortalSaysWhatIsMissing()
    {
        PrivateBus bus;
        {
            ScreenCastSession session(bus.connect(QStringLiteral("alone")));
            const StatusOr<ScreenCastStream> stream = awaited(session.start(ScreenCastSource::Monitor));
            QCOMPARE(stream.status().code(), ENOSYS);
            QVERIFY2(stream.status().message().contains(QStringLiteral("xdg-desktop-portal")), qPrintable(stream.status().message()));
        }
        // A portal that takes screenshots but casts nothing.
        FakeDesktop desktop(bus.connect(QStringLiteral("desktop")));
        new FakeScreenshot(&desktop);
        QVERIFY(desktop.serve());
        ScreenCastSession session(bus.connect(QStringLiteral("dropwell")));
        const StatusOr<ScreenCastStream> stream = awaited(session.start(ScreenCastSource::Window));
        QCOMPARE(stream.status().code(), ENOSYS);
        QVERIFY2(stream.status().message().contains(QStringLiteral("no screen casting")), qPrintable(stream.status().message()));
    }
};

QTEST_GUILESS_MAIN(ScreenCastTest)
#include "tst_screencast.moc"
