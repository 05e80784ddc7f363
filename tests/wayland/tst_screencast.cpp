// Screen casts through the desktop's ScreenCast portal and PipeWire: the
// real portal of a headless Wayland session for monitors, and a portal of
// the test's own on a private bus for what that one cannot do headless
// (windows, a user who cancels, a desktop that refuses).
#include "platform/wayland/PipeWireFrameSource.h"
#include "platform/wayland/ScreenCastSession.h"
#include "tests/support/Awaited.h"

#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUuid>

#include <fcntl.h>

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

struct FakeStream {
    uint node = 0;
    QVariantMap properties;
};
Q_DECLARE_METATYPE(FakeStream)

QDBusArgument& operator<<(QDBusArgument& argument, const FakeStream& stream)
{
    argument.beginStructure();
    argument << stream.node << stream.properties;
    argument.endStructure();
    return argument;
}
const QDBusArgument& operator>>(const QDBusArgument& argument, FakeStream& stream)
{
    argument.beginStructure();
    argument >> stream.node >> stream.properties;
    argument.endStructure();
    return argument;
}

// The desktop's side: it answers Start with `startResponse` (0 granted,
// 1 cancelled by the user, 2 refused) and casts one window.
class FakeScreenCast : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.ScreenCast")
    Q_PROPERTY(uint version MEMBER version)
    Q_PROPERTY(uint AvailableSourceTypes MEMBER sourceTypes)
    Q_PROPERTY(uint AvailableCursorModes MEMBER cursorModes)
public:
    explicit FakeScreenCast(const QDBusConnection& bus) : bus_(bus)
    {
        qDBusRegisterMetaType<FakeStream>();
        qDBusRegisterMetaType<QList<FakeStream>>();
    }

    uint version = 5;
    uint sourceTypes = 3;
    uint cursorModes = 1 | 2 | 4;
    uint startResponse = 0;
    QVariantMap selected;

public Q_SLOTS:
    Q_SCRIPTABLE QDBusObjectPath CreateSession(const QVariantMap& options)
    {
        const QString session = QStringLiteral("/org/freedesktop/portal/desktop/session/") + caller() + QLatin1Char('/')
            + options.value(QStringLiteral("session_handle_token")).toString();
        return answer(options, 0, {{QStringLiteral("session_handle"), session}});
    }
    Q_SCRIPTABLE QDBusObjectPath SelectSources(const QDBusObjectPath&, const QVariantMap& options)
    {
        selected = options;
        return answer(options, 0, {});
    }
    Q_SCRIPTABLE QDBusObjectPath Start(const QDBusObjectPath&, const QString&, const QVariantMap& options)
    {
        const QVariantMap window {{QStringLiteral("size"), QSize(640, 480)}, {QStringLiteral("position"), QPoint(20, 30)},
            {QStringLiteral("source_type"), 2u}};
        return answer(options, startResponse,
            {{QStringLiteral("streams"), QVariant::fromValue(QList<FakeStream> {{42, window}})},
                {QStringLiteral("restore_token"), QStringLiteral("window-token")}});
    }
    Q_SCRIPTABLE QDBusUnixFileDescriptor OpenPipeWireRemote(const QDBusObjectPath&, const QVariantMap&)
    {
        const int fd = ::open("/dev/null", O_RDWR | O_CLOEXEC);
        QDBusUnixFileDescriptor remote(fd);
        ::close(fd);
        return remote;
    }

private:
    QString caller() const { return message().service().mid(1).replace(QLatin1Char('.'), QLatin1Char('_')); }
    // The request's path at once, its Response after the reply.
    QDBusObjectPath answer(const QVariantMap& options, uint code, const QVariantMap& results)
    {
        const QString request = QStringLiteral("/org/freedesktop/portal/desktop/request/") + caller() + QLatin1Char('/')
            + options.value(QStringLiteral("handle_token")).toString();
        QTimer::singleShot(0, this, [this, request, code, results] {
            QDBusMessage response
                = QDBusMessage::createSignal(request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
            response << code << results;
            bus_.send(response);
        });
        return QDBusObjectPath(request);
    }

    QDBusConnection bus_;
};

// A bus of the test's own that starts no services on demand, so the only
// portal on it is the one the test puts there.
class PrivateBus {
public:
    PrivateBus()
    {
        const QString config = folder_.filePath(QStringLiteral("bus.conf"));
        QFile file(config);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<busconfig><listen>unix:dir=" + folder_.path().toUtf8()
            + "</listen><auth>EXTERNAL</auth><policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
              "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>");
        file.close();
        daemon_.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                                                         QStringLiteral("--print-address=1")});
        if (daemon_.waitForReadyRead(10000))
            address_ = QString::fromUtf8(daemon_.readLine().trimmed());
    }
    ~PrivateBus()
    {
        for (const QString& name : std::as_const(names_))
            QDBusConnection::disconnectFromBus(name);
        daemon_.terminate();
        daemon_.waitForFinished();
    }
    // Each name a connection of its own, as two processes would have.
    QDBusConnection connect(const QString& name)
    {
        names_.append(name + QLatin1Char('@') + address_);
        return QDBusConnection::connectToBus(address_, names_.last());
    }

private:
    QTemporaryDir folder_;
    QProcess daemon_;
    QString address_;
    QStringList names_;
};

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
        QDBusConnection desktop = bus.connect(QStringLiteral("desktop"));
        FakeScreenCast portal(desktop);
        portal.version = version;
        portal.startResponse = response;
        QVERIFY(desktop.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal,
            QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportScriptableProperties));
        QVERIFY(desktop.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));

        ScreenCastSession session(bus.connect(QStringLiteral("dropwell")));
        const StatusOr<ScreenCastStream> stream = awaited(session.start(ScreenCastSource::Window, QStringLiteral("old-token")));
        QCOMPARE(portal.selected.value(QStringLiteral("types")).toUInt(), 2u);
        QCOMPARE(portal.selected.value(QStringLiteral("multiple")).toBool(), false);
        QCOMPARE(portal.selected.value(QStringLiteral("cursor_mode")).toUInt(), 2u);
        // Only a portal of version 4 or later keeps a choice.
        QCOMPARE(portal.selected.value(QStringLiteral("persist_mode")).toUInt(), version >= 4 ? 2u : 0u);
        QCOMPARE(portal.selected.value(QStringLiteral("restore_token")).toString(),
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
        // A portal without screen casting.
        QDBusConnection desktop = bus.connect(QStringLiteral("desktop"));
        QObject other;
        QVERIFY(desktop.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &other));
        QVERIFY(desktop.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
        ScreenCastSession session(bus.connect(QStringLiteral("dropwell")));
        const StatusOr<ScreenCastStream> stream = awaited(session.start(ScreenCastSource::Window));
        QCOMPARE(stream.status().code(), ENOSYS);
        QVERIFY2(stream.status().message().contains(QStringLiteral("no screen casting")), qPrintable(stream.status().message()));
    }
};

QTEST_GUILESS_MAIN(ScreenCastTest)
#include "tst_screencast.moc"
