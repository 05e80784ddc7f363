#pragma once

#include "platform/Status.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <vector>

// One screen of the desktop. Geometry is in the desktop's logical
// (device-independent) coordinates, the ones Qt gives screens, widgets and
// the pointer; images are taken at the screen's own pixel density.
struct CaptureDisplay {
    QString name; // the output's name, e.g. "DP-1"
    QRect geometry;
    qreal devicePixelRatio = 1;
};

// One top-level window, its frame (decorations included) in logical
// coordinates.
struct CaptureWindow {
    quint32 id = 0;
    QRect frame;
    QString application; // the owning application's name, "" when unknown
    QString title;
    QString applicationId; // what identifies the application (WM_CLASS on X11)
    qint64 pid = 0;
    bool onScreen = true;
    // Part of the desktop itself (panel, dock, desktop, menu, notification,
    // tooltip): never a capture target.
    bool isDesktopChrome = false;
};

struct CaptureContent {
    std::vector<CaptureDisplay> displays;
    std::vector<CaptureWindow> windows; // front to back
};

// The desktop's screen-capture service. A refusal to capture (a desktop
// that asks the user first) is a failure whose code is EACCES.
class ScreenCapture {
public:
    virtual ~ScreenCapture() = default;

    virtual StatusOr<CaptureContent> content() = 0;
    // Whether capturing is allowed now, and asking the user where the
    // desktop has a way to ask.
    virtual bool hasAccess() = 0;
    virtual void requestAccess() = 0;
    // Opens the desktop's place where capture is allowed; false where there
    // is none (X11 allows every program).
    virtual bool openAccessSettings() = 0;
    // Whether the desktop has such a place at all (X11 has none).
    virtual bool hasAccessSettings() const { return false; }

    // The display, or the `crop` of it (logical coordinates; empty for the
    // whole display), with or without the pointer drawn in.
    virtual StatusOr<QImage> grabDisplay(const CaptureDisplay& display, const QRect& crop, bool withPointer) = 0;
    // The window whole, decorations included, also where other windows
    // cover it if the desktop can tell.
    virtual StatusOr<QImage> grabWindow(const CaptureWindow& window) = 0;
    // Gives back what grabs keep between them for the next one's speed; a
    // recording, with buffers of its own, is about to start.
    virtual void releaseBuffers() {}
};
