#pragma once

#include "platform/ScreenCapture.h"

#include <QDBusConnection>

#include <chrono>

class DesktopPicker;
class FileOpener;

// Screen capture on a desktop that lets programs read the screen only
// through xdg-desktop-portal: the displays as Qt knows them, their pictures
// from the Screenshot portal, and windows through the desktop's own picker.
class PortalScreenCapture final : public ScreenCapture {
public:
    // `windowPicker` picks windows for still captures; null where the
    // desktop offers none. A picture the desktop has not given within
    // `answerWithin` (time enough for a person to answer its dialog) fails.
    PortalScreenCapture(QDBusConnection bus, DesktopPicker* windowPicker,
        std::chrono::milliseconds answerWithin = std::chrono::minutes(1));

    QCoro::Task<StatusOr<CaptureContent>> content() override;
    // The portal asks the user itself where the desktop wants it to.
    bool hasAccess() override { return true; }
    QCoro::Task<> requestAccess() override { co_return; }
    bool openAccessSettings() override;
    bool hasAccessSettings() const override;

    // The Screenshot portal gives no pointer: `withPointer` cannot be honoured.
    QCoro::Task<StatusOr<QImage>> grabDisplay(CaptureDisplay display, QRect crop, bool withPointer) override;
    QCoro::Task<StatusOr<std::vector<QImage>>> grabDisplays(std::vector<CaptureDisplay> displays) override;
    QCoro::Task<StatusOr<QImage>> grabWindow(CaptureWindow window) override;
    DesktopPicker* desktopPicker() override { return windowPicker_; }

    // The pixels of `display` (logical geometry), or of the logical `crop`
    // of it, in a picture of the whole desktop whose logical bounds are
    // `desktop`: whole pixels outward, within the picture.
    static QImage cut(const QImage& picture, const QRect& desktop, const CaptureDisplay& display, const QRect& crop);

private:
    // One picture of every screen, as the desktop composes them.
    QCoro::Task<StatusOr<QImage>> screenshot();

    QDBusConnection bus_;
    DesktopPicker* windowPicker_;
    std::chrono::milliseconds answerWithin_;
};
