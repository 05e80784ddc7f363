#pragma once

#include "platform/ScreenCapture.h"

#include <QGuiApplication>
#include <QScreen>

#include <cerrno>
#include <functional>

// A desktop whose displays are the test's screens and whose windows the
// test arranges. Every pixel of a display image tells where it is (red and
// green: x and y, blue: which display), so a crop can be checked exactly;
// a window image is filled with a colour of its own. Every answer comes at
// once.
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
            co_return Status::failure(EACCES, QStringLiteral("screen capture refused"));
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
        co_return displayImage(display, crop, withPointer);
    }
    QCoro::Task<StatusOr<QImage>> grabWindow(CaptureWindow window) override { co_return windowImage(window); }
    DesktopPicker* desktopPicker() override { return picker; }

    StatusOr<QImage> displayImage(const CaptureDisplay& display, const QRect& crop, bool withPointer)
    {
        if (grabbing)
            grabbing();
        lastWithPointer = withPointer;
        const QSize size = display.geometry.size() * display.devicePixelRatio;
        QImage image(size, QImage::Format_RGB32);
        const int index = displayIndex(display);
        for (int y = 0; y < size.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < size.width(); ++x)
                line[x] = pixelAt(x, y, index);
        }
        if (!crop.isEmpty()) {
            const QRect pixels((crop.topLeft() - display.geometry.topLeft()) * display.devicePixelRatio,
                crop.size() * display.devicePixelRatio);
            return image.copy(pixels);
        }
        return image;
    }

    StatusOr<QImage> windowImage(const CaptureWindow& window)
    {
        if (grabbing)
            grabbing();
        QImage image(window.frame.size(), QImage::Format_RGB32);
        image.fill(windowColor(window.id));
        return image;
    }

    static QRgb pixelAt(int x, int y, int display) { return qRgb(x % 251, y % 241, display * 40 + (x / 251 + y / 241) % 40); }
    static QRgb windowColor(quint32 id) { return qRgb(int(id * 37 % 256), int(id * 91 % 256), 200); }

    std::vector<CaptureDisplay> displays;
    std::vector<CaptureWindow> windows;
    bool refusing = false;
    int accessRequests = 0;
    bool lastWithPointer = false;
    // Runs at every grab, to see what was on screen at that moment.
    std::function<void()> grabbing;
    // The desktop's own picker, where the test gives the desktop one.
    DesktopPicker* picker = nullptr;

private:
    int displayIndex(const CaptureDisplay& display) const
    {
        for (size_t i = 0; i < displays.size(); ++i) {
            if (displays[i].name == display.name)
                return int(i);
        }
        return 0;
    }
};
