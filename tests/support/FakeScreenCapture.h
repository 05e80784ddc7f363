#pragma once

#include "platform/ScreenCapture.h"

#include <QGuiApplication>
#include <QScreen>

#include <cerrno>
#include <functional>

// A desktop whose displays are the test's screens and whose windows the
// test arranges. Every pixel of a display image tells where it is, so a
// crop can be checked exactly; a window image is filled with a colour of its
// own. Every answer comes at once.
class FakeScreenCapture final : public ScreenCapture {
public:
    FakeScreenCapture()
    {
        for (QScreen* screen : QGuiApplication::screens())
            displays.push_back({screen->name(), screen->geometry(), screen->devicePixelRatio()});
    }

    QCoro::Task<StatusOr<CaptureContent>> content() override
    {
        if (refusing)
            co_return refusal();
        co_return CaptureContent {displays, windows};
    }
    bool hasAccess() override { return !refusing; }
    QCoro::Task<> requestAccess() override
    {
        ++accessRequests;
        co_return;
    }
    bool openAccessSettings() override { return false; }

    QCoro::Task<StatusOr<QImage>> grabDisplay(CaptureDisplay display, QRect crop, bool withPointer) override
    {
        if (grabbing)
            grabbing();
        if (refusingPictures)
            co_return refusal();
        lastWithPointer = withPointer;
        QImage image(display.geometry.size() * display.devicePixelRatio, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = pixelAt(x, y);
        }
        if (crop.isEmpty())
            co_return image;
        co_return image.copy(QRect((crop.topLeft() - display.geometry.topLeft()) * display.devicePixelRatio,
            crop.size() * display.devicePixelRatio));
    }
    QCoro::Task<StatusOr<QImage>> grabWindow(CaptureWindow window) override
    {
        if (refusingPictures)
            co_return refusal();
        co_return windowImage(window);
    }
    DesktopPicker* desktopPicker() override { return picker; }

    static StatusOr<QImage> windowImage(const CaptureWindow& window)
    {
        QImage image(window.frame.size(), QImage::Format_RGB32);
        image.fill(windowColor(window.id));
        return image;
    }

    static Status refusal() { return Status::failure(EACCES, QStringLiteral("screen capture refused")); }
    static QRgb pixelAt(int x, int y) { return qRgb(x % 251, y % 241, (x / 251 + y / 241) % 256); }
    static QRgb windowColor(quint32 id) { return qRgb(int(id * 37 % 256), int(id * 91 % 256), 200); }

    std::vector<CaptureDisplay> displays;
    std::vector<CaptureWindow> windows;
    bool refusing = false;
    // Lists the screens but refuses every picture of them, as a portal does.
    bool refusingPictures = false;
    int accessRequests = 0;
    bool lastWithPointer = false;
    // Runs at every grab of a display, to see what was on screen at that moment.
    std::function<void()> grabbing;
    // The desktop's own picker, where the test gives the desktop one.
    DesktopPicker* picker = nullptr;
};
