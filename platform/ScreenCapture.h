#pragma once

#include "platform/CaptureTargets.h"
#include "platform/Status.h"

#include <QImage>
#include <QRect>

#include <cerrno>
#include <vector>

#include <qcoro/qcorotask.h>

class DesktopPicker;

// The desktop's screen-capture service. A desktop that asks the user first
// answers later, so every question that may wait for one returns a task. A
// refusal to capture is a failure whose code is EACCES.
//
// Arguments are taken by value: a task may outlive the caller's temporaries.
class ScreenCapture {
public:
    virtual ~ScreenCapture() = default;

    virtual QCoro::Task<StatusOr<CaptureContent>> content() = 0;
    // Whether capturing is allowed now.
    virtual bool hasAccess() = 0;
    // Asks the user where the desktop has a way to ask; ends once answered.
    virtual QCoro::Task<> requestAccess() = 0;
    // Opens the desktop's place where capture is allowed; false where there
    // is none (X11 allows every program).
    virtual bool openAccessSettings() = 0;
    // Whether the desktop has such a place at all (X11 has none).
    virtual bool hasAccessSettings() const { return false; }

    // The display, or the `crop` of it (logical coordinates; empty for the
    // whole display), with or without the pointer drawn in.
    virtual QCoro::Task<StatusOr<QImage>> grabDisplay(CaptureDisplay display, QRect crop, bool withPointer) = 0;
    // Each display's picture at one moment, without the pointer, in the
    // order given; a display that cannot be read gets a null image. Fails
    // only as a whole: with EACCES when the desktop refuses, with another
    // code when it cannot be asked at all. A desktop that takes every
    // screen in one picture answers in one request.
    virtual QCoro::Task<StatusOr<std::vector<QImage>>> grabDisplays(std::vector<CaptureDisplay> displays)
    {
        std::vector<QImage> images;
        for (const CaptureDisplay& display : displays) {
            QCoro::Task<StatusOr<QImage>> grabbing = grabDisplay(display, QRect(), false);
            const StatusOr<QImage> image = co_await grabbing;
            if (!image.ok() && image.status().code() == EACCES)
                co_return image.status();
            images.push_back(image.ok() ? image.value() : QImage());
        }
        co_return images;
    }
    // The window whole, decorations included, also where other windows
    // cover it if the desktop can tell.
    virtual QCoro::Task<StatusOr<QImage>> grabWindow(CaptureWindow window) = 0;
    // Gives back what grabs keep between them for the next one's speed; a
    // recording, with buffers of its own, is about to start.
    virtual void releaseBuffers() {}

    // How a capture's target is chosen. None: Dropwell may read every screen
    // before the user chose, and picks over a frozen picture of them with
    // its own overlay. A desktop that shows no program its screens before
    // the user chose has a picker of its own, which then picks instead.
    virtual DesktopPicker* desktopPicker() { return nullptr; }
};
