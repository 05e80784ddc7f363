#include "platform/wayland/PortalScreenCapture.h"

#include "platform/DesktopPicker.h"
#include "platform/LogicalPixels.h"
#include "platform/linux/PortalRequest.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QLoggingCategory>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>

#include <cerrno>

namespace {

Q_LOGGING_CATEGORY(portalLog, "dropwell.capture", QtWarningMsg)

// The logical area all screens cover together.
QRect desktopBounds()
{
    QRect bounds;
    for (const QScreen* screen : QGuiApplication::screens())
        bounds |= screen->geometry();
    return bounds;
}

Status noScreenshotPortal(const QString& why)
{
    return Status::failure(ENOSYS,
        QCoreApplication::translate("PortalScreenCapture",
            "No screenshot portal answered (%1): install xdg-desktop-portal and the portal backend for your desktop.")
            .arg(why));
}

bool onGnome() { return qEnvironmentVariable("XDG_CURRENT_DESKTOP").contains(QStringLiteral("GNOME"), Qt::CaseInsensitive); }

} // namespace

PortalScreenCapture::PortalScreenCapture(QDBusConnection bus, DesktopPicker* windowPicker, std::chrono::milliseconds answerWithin)
    : bus_(std::move(bus)), windowPicker_(windowPicker), answerWithin_(answerWithin)
{
}

// Wayland lists no program the other programs' windows: the displays only.
QCoro::Task<StatusOr<CaptureContent>> PortalScreenCapture::content()
{
    CaptureContent content;
    for (const QScreen* screen : QGuiApplication::screens())
        content.displays.push_back({screen->name(), screen->geometry(), screen->devicePixelRatio()});
    co_return content;
}

// GNOME keeps what programs may capture in its privacy settings; other
// desktops ask through the portal's own dialog and keep no place for it.
bool PortalScreenCapture::hasAccessSettings() const
{
    return onGnome() && !QStandardPaths::findExecutable(QStringLiteral("gnome-control-center")).isEmpty();
}

bool PortalScreenCapture::openAccessSettings()
{
    return hasAccessSettings() && QProcess::startDetached(QStringLiteral("gnome-control-center"), {QStringLiteral("privacy")});
}

QCoro::Task<StatusOr<QImage>> PortalScreenCapture::grabDisplay(CaptureDisplay display, QRect crop, bool)
{
    QCoro::Task<StatusOr<QImage>> taking = screenshot();
    const StatusOr<QImage> picture = co_await taking;
    if (!picture.ok())
        co_return picture.status();
    const QImage cut = PortalScreenCapture::cut(picture.value(), desktopBounds(), display, crop);
    if (cut.isNull())
        co_return Status::failure(ENODEV, QCoreApplication::translate("PortalScreenCapture", "The display '%1' is not in the desktop's picture.").arg(display.name));
    co_return cut;
}

// One request for all displays: the desktop asks once, if at all, and
// every display shows the same moment.
QCoro::Task<StatusOr<std::vector<QImage>>> PortalScreenCapture::grabDisplays(std::vector<CaptureDisplay> displays)
{
    QCoro::Task<StatusOr<QImage>> taking = screenshot();
    const StatusOr<QImage> picture = co_await taking;
    if (!picture.ok())
        co_return picture.status();
    const QRect bounds = desktopBounds();
    std::vector<QImage> images;
    for (const CaptureDisplay& display : displays)
        images.push_back(cut(picture.value(), bounds, display, QRect()));
    co_return images;
}

// Windows are chosen in the desktop's picker, which hands back the picture.
QCoro::Task<StatusOr<QImage>> PortalScreenCapture::grabWindow(CaptureWindow)
{
    co_return Status::failure(ENOTSUP,
        QCoreApplication::translate("PortalScreenCapture", "This desktop lets Dropwell capture a window only through its own picker."));
}

QImage PortalScreenCapture::cut(const QImage& picture, const QRect& desktop, const CaptureDisplay& display, const QRect& crop)
{
    if (picture.isNull() || desktop.isEmpty())
        return {};
    const QRect wanted = crop.isEmpty() ? display.geometry : crop.intersected(display.geometry);
    const QRect pixels = pixelsShowing(desktop, picture.size(), wanted);
    if (pixels.isEmpty())
        return {};
    return picture.copy(pixels).convertToFormat(QImage::Format_RGB32);
}

QCoro::Task<StatusOr<QImage>> PortalScreenCapture::screenshot()
{
    QDBusMessage call = QDBusMessage::createMethodCall(PortalRequest::desktopService, PortalRequest::desktopPath,
        QStringLiteral("org.freedesktop.portal.Screenshot"), QStringLiteral("Screenshot"));
    call.setArguments({QString()});
    QCoro::Task<StatusOr<QVariantMap>> asking =
        PortalRequest::ask(bus_, call, {{QStringLiteral("interactive"), false}}, answerWithin_);
    const StatusOr<QVariantMap> answer = co_await asking;
    if (!answer.ok()) {
        const Status& why = answer.status();
        qCInfo(portalLog) << "Screenshot portal:" << why.code() << why.message();
        if (why.code() == ENOSYS || why.code() == EIO)
            co_return noScreenshotPortal(why.message());
        if (why.code() == ETIMEDOUT)
            co_return why;
        // Cancelled or refused: either way the user must allow it first.
        co_return Status::failure(EACCES, why.message());
    }
    const QUrl uri(answer.value().value(QStringLiteral("uri")).toString());
    if (!uri.isLocalFile())
        co_return Status::failure(EIO, QCoreApplication::translate("PortalScreenCapture", "The desktop's screenshot came back without a file."));
    QImageReader reader(uri.toLocalFile());
    const QImage picture = reader.read();
    // The file was made for this request only; Dropwell writes its own.
    QFile::remove(uri.toLocalFile());
    if (picture.isNull())
        co_return Status::failure(EIO,
            QCoreApplication::translate("PortalScreenCapture", "Couldn't read the desktop's screenshot: %1").arg(reader.errorString()));
    co_return picture;
}
