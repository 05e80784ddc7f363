#pragma once

// The desktop's side of xdg-desktop-portal, played by the test on a bus of
// its own: the Screenshot, ScreenCast and RemoteDesktop portals answer as
// the test says (0 granted, 1 cancelled by the user, 2 refused), so that
// what a real desktop does only with a person at its dialog can be tested
// headless.

#include "tests/support/PrivateBus.h"

#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <functional>
#include <tuple>

struct FakeStream {
    uint node = 0;
    QVariantMap properties;
};
Q_DECLARE_METATYPE(FakeStream)

inline QDBusArgument& operator<<(QDBusArgument& argument, const FakeStream& stream)
{
    argument.beginStructure();
    argument << stream.node << stream.properties;
    argument.endStructure();
    return argument;
}
inline const QDBusArgument& operator>>(const QDBusArgument& argument, FakeStream& stream)
{
    argument.beginStructure();
    argument >> stream.node >> stream.properties;
    argument.endStructure();
    return argument;
}

// The portal's object, which carries whichever portals the test attaches
// to it. Every request is answered the way a real portal answers: the
// request's path at once, its Response once the reply is out.
class FakeDesktop : public QObject, protected QDBusContext {
    Q_OBJECT
public:
    static inline const QString service = QStringLiteral("org.freedesktop.portal.Desktop");

    explicit FakeDesktop(const QDBusConnection& bus) : bus_(bus) {}

    // The portals attached by now are on the bus, under the portal's name.
    bool serve()
    {
        return bus_.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), this, QDBusConnection::ExportAdaptors)
            && bus_.registerService(service);
    }

    QString requestPath(const QVariantMap& options) const
    {
        return QStringLiteral("/org/freedesktop/portal/desktop/request/") + caller() + QLatin1Char('/')
            + options.value(QStringLiteral("handle_token")).toString();
    }
    QDBusObjectPath answer(const QVariantMap& options, uint code, const QVariantMap& results)
    {
        const QString request = requestPath(options);
        QTimer::singleShot(0, this, [this, request, code, results] {
            QDBusMessage response
                = QDBusMessage::createSignal(request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
            response << code << results;
            bus_.send(response);
        });
        return QDBusObjectPath(request);
    }
    // The calling connection's name as the portal spells it in paths.
    QString caller() const { return message().service().mid(1).replace(QLatin1Char('.'), QLatin1Char('_')); }
    QString sessionPath(const QVariantMap& options) const
    {
        return QStringLiteral("/org/freedesktop/portal/desktop/session/") + caller() + QLatin1Char('/')
            + options.value(QStringLiteral("session_handle_token")).toString();
    }
    // CreateSession's answer, which carries the session's path.
    QDBusObjectPath createSession(const QVariantMap& options)
    {
        return answer(options, 0, {{QStringLiteral("session_handle"), sessionPath(options)}});
    }

private:
    QDBusConnection bus_;
};

// It answers Start with `startResponse` and casts one window; or the
// stream the test hands it, `node` through `pipewire`.
class FakeScreenCast : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.ScreenCast")
    Q_PROPERTY(uint version MEMBER version)
    Q_PROPERTY(uint AvailableSourceTypes MEMBER sourceTypes)
    Q_PROPERTY(uint AvailableCursorModes MEMBER cursorModes)
public:
    explicit FakeScreenCast(FakeDesktop* desktop) : QDBusAbstractAdaptor(desktop), desktop_(*desktop)
    {
        qDBusRegisterMetaType<FakeStream>();
        qDBusRegisterMetaType<QList<FakeStream>>();
    }

    uint version = 5;
    uint sourceTypes = 3;
    uint cursorModes = 1 | 2 | 4;
    uint startResponse = 0;
    QVariantMap selected; // SelectSources' options
    uint node = 42;
    QVariantMap stream {{QStringLiteral("size"), QSize(640, 480)}, {QStringLiteral("position"), QPoint(20, 30)},
        {QStringLiteral("source_type"), 2u}};
    QDBusUnixFileDescriptor pipewire; // none: a descriptor that leads nowhere

    // What a started session casts, as Start's results have it.
    QVariantMap streams() const { return {{QStringLiteral("streams"), QVariant::fromValue(QList<FakeStream> {{node, stream}})}}; }

public Q_SLOTS:
    QDBusObjectPath CreateSession(const QVariantMap& options) { return desktop_.createSession(options); }
    QDBusObjectPath SelectSources(const QDBusObjectPath&, const QVariantMap& options)
    {
        selected = options;
        return desktop_.answer(options, 0, {});
    }
    QDBusObjectPath Start(const QDBusObjectPath&, const QString&, const QVariantMap& options)
    {
        QVariantMap results = streams();
        results.insert(QStringLiteral("restore_token"), QStringLiteral("window-token"));
        return desktop_.answer(options, startResponse, results);
    }
    QDBusUnixFileDescriptor OpenPipeWireRemote(const QDBusObjectPath&, const QVariantMap&)
    {
        QFile nowhere(QStringLiteral("/dev/null"));
        return pipewire.isValid() || !nowhere.open(QIODevice::ReadWrite) ? pipewire : QDBusUnixFileDescriptor(nowhere.handle());
    }

private:
    FakeDesktop& desktop_;
};

// A session of it carries the ScreenCast portal's cast: Start answers as
// that portal's would, granting `devicesGranted`.
// The pointer and the wheel it is told to move are handed on to `moved`
// and `wheeled` where the test sets them.
class FakeRemoteDesktop : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.RemoteDesktop")
    Q_PROPERTY(uint version MEMBER version)
    Q_PROPERTY(uint AvailableDeviceTypes MEMBER deviceTypes)
public:
    FakeRemoteDesktop(FakeDesktop* desktop, FakeScreenCast& cast) : QDBusAbstractAdaptor(desktop), desktop_(*desktop), cast_(cast) {}

    uint version = 2;
    uint deviceTypes = 1 | 2 | 4;
    uint devicesGranted = 2;
    QVariantMap devices; // SelectDevices' options
    QString session; // the one created
    // Every wheel step asked for, and where the pointer went: stream node, x, y.
    QList<int> steps;
    QList<std::tuple<uint, double, double>> motions;
    std::function<void(QPointF)> moved;
    std::function<void(int)> wheeled;

public Q_SLOTS:
    QDBusObjectPath CreateSession(const QVariantMap& options)
    {
        session = desktop_.sessionPath(options);
        return desktop_.createSession(options);
    }
    QDBusObjectPath SelectDevices(const QDBusObjectPath&, const QVariantMap& options)
    {
        devices = options;
        return desktop_.answer(options, 0, {});
    }
    QDBusObjectPath Start(const QDBusObjectPath&, const QString&, const QVariantMap& options)
    {
        QVariantMap results = cast_.streams();
        results.insert(QStringLiteral("devices"), devicesGranted);
        return desktop_.answer(options, cast_.startResponse, results);
    }
    void NotifyPointerMotionAbsolute(const QDBusObjectPath& on, const QVariantMap&, uint stream, double x, double y)
    {
        QCOMPARE(on.path(), session);
        motions.append({stream, x, y});
        if (moved)
            moved(QPointF(x, y));
    }
    void NotifyPointerAxisDiscrete(const QDBusObjectPath& on, const QVariantMap&, uint axis, int stepsNow)
    {
        QCOMPARE(on.path(), session);
        QCOMPARE(axis, 0u);
        steps.append(stepsNow);
        if (wheeled)
            wheeled(stepsNow);
    }

private:
    FakeDesktop& desktop_;
    FakeScreenCast& cast_;
};

// It answers Screenshot with `response` but never with a picture (the real
// portal's are tested in the Wayland session), or not at all.
class FakeScreenshot : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")
public:
    explicit FakeScreenshot(FakeDesktop* desktop) : QDBusAbstractAdaptor(desktop), desktop_(*desktop) {}

    uint response = 0;
    bool answers = true; // false: the request stays open, as a stuck backend leaves it
    QVariantMap asked; // the last call's options

public Q_SLOTS:
    QDBusObjectPath Screenshot(const QString&, const QVariantMap& options)
    {
        asked = options;
        return answers ? desktop_.answer(options, response, {}) : QDBusObjectPath(desktop_.requestPath(options));
    }

private:
    FakeDesktop& desktop_;
};
