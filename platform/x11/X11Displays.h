#pragma once

#include "platform/CaptureTargets.h"

#include <QRect>
#include <QRectF>

#include <xcb/xcb.h>

#include <vector>

// A display with the X11 pixels it covers. Qt 6 keeps a screen's logical
// origin at its native origin and divides only the size by the device pixel
// ratio, so both rectangles share their top-left corner and a point maps as
// native = origin + (logical - origin) * ratio.
struct X11Display {
    CaptureDisplay display;
    QRect native;

    // Outward to whole pixels, so that a crop never loses a pixel it touches.
    QRect toNative(const QRectF& logical) const;
    QRect toLogical(const QRect& native) const;
};

// The application's screens in Qt's order, each with its RandR monitor.
std::vector<X11Display> x11Displays(xcb_connection_t* connection, xcb_window_t root);

// Which of `displays` `wanted` describes: same name and geometry, else the
// same geometry (outputs get renamed when a cable moves), else none.
const X11Display* findDisplay(const std::vector<X11Display>& displays, const CaptureDisplay& wanted);
