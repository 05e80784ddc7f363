#include "platform/DesktopBackend.h"

#include "platform/qt/NoCaptureBackend.h"
#ifdef DROPWELL_HAS_X11
#include "platform/x11/X11Backend.h"
#endif

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLoggingCategory>

namespace {

Q_LOGGING_CATEGORY(backendLog, "dropwell.app", QtWarningMsg)

} // namespace

BackendKind chooseDesktopBackend(const QString& qtPlatform, bool x11Built)
{
    if (qtPlatform == QStringLiteral("xcb") && x11Built)
        return BackendKind::X11;
    return BackendKind::NoCapture;
}

std::unique_ptr<DesktopBackend> openDesktopBackend()
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
    const bool wayland = platform == QStringLiteral("wayland");
    const QString reason = platform == QStringLiteral("xcb")
        ? QCoreApplication::translate("DesktopBackend", "This Dropwell was built without X11 support, so it cannot capture the screen.")
        : QCoreApplication::translate("DesktopBackend", "Screen capture needs an X11 session.");
    return std::make_unique<NoCaptureBackend>(reason, wayland);
}
