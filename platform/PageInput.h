#pragma once

#include "platform/CaptureTargets.h"

#include <QPoint>

// The pointer and the wheel during a full-page run, and bringing the page's
// window forward. Points are global logical pixels, like window frames.
// Optional: a desktop that lets no program move the pointer or scroll
// another program's window has none, and full pages cannot be captured there.
class PageInput {
public:
    virtual ~PageInput() = default;

    virtual QPoint pointer() = 0;
    virtual void warpPointer(QPoint to) = 0;
    // Keeps the user's hand from disturbing the run: grabs the pointer until
    // release(); false when another program holds it.
    virtual bool hold() = 0;
    // Safe when not held.
    virtual void release() = 0;
    // Synthetic wheel clicks at `at`: negative ones scroll the content down
    // (towards the end), positive ones up. How far a click goes is each
    // program's own choice. Works while held too.
    virtual void wheel(QPoint at, int clicks) = 0;
    // Asks the window manager to make the window active, which raises it.
    virtual void activate(const CaptureWindow& window) = 0;
};
