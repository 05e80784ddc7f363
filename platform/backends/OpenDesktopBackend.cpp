#include "platform/DesktopBackend.h"

#include "platform/qt/NoCaptureBackend.h"
#include "platform/wayland/PortalBackend.h"
#ifdef DROPWELL_HAS_X11
#include "platform/x11/X11Backend.h"
#endif

#include <QCoreApplication>
#include <QDBusConnection>
#include <QGuiApplication>
#include <QLoggingCategory>

namespace {

Q_LOGGING_CATEGORY(backendLog, "dropwell.app", QtWarningMsg)

} // namespace

BackendKind chooseDesktopBackend(const QString& qtPlatform, bool x11Built)
{
    if (qtPlatform == QStringLiteral("xcb") && x11Built)
        return BackendKind::X11;
    // Wayland compositors let programs read the screen through the portals.
    if (qtPlatform == QStringLiteral("wayland"))
        return BackendKind::Portal;
    return BackendKind::NoCapture;
}

std::unique_ptr<DesktopBackend> openDesktopBackend(DefaultsStore* defaults)
{
#ifdef DROPWELL_HAS_X11
    constexpr bool x11Built = true;
#else
    constexpr bool x11Built = false;
#endif
    const QString platform = QGuiApplication::platformName();
    const BackendKind kind = chooseDesktopBackend(platform, x11Built);
    qCInfo(backendLog) << "desktop backend for Qt platform" << platform << ":" << int(kind);
#ifdef DROPWELL_HAS_X11
    if (kind == BackendKind::X11)
        return std::make_unique<X11Backend>();
#endif
    if (kind == BackendKind::Portal)
        return std::make_unique<PortalBackend>(QDBusConnection::sessionBus(), defaults);
    const QString reason = platform == QStringLiteral("xcb")
        ? QCoreApplication::translate("DesktopBackend", "This Dropwell was built without X11 support, so it cannot capture the screen.")
        : QCoreApplication::translate("DesktopBackend", "Screen capture needs an X11 or a Wayland session.");
    return std::make_unique<NoCaptureBackend>(reason, false);
}
