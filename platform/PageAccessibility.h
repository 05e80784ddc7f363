#pragma once

#include "platform/CaptureTargets.h"
#include "platform/Status.h"

#include <QRect>

#include <optional>

// What the desktop's accessibility bus knows of a window's page, and how to
// bring it to its top without touching the pointer. A window whose program
// does not show itself there (many do only when accessibility was on when
// they started) gets false or nothing from every question.
class PageAccessibility {
public:
    virtual ~PageAccessibility() = default;

    // Makes sure programs expose their pages: switches the desktop's
    // accessibility support on where it is off. Fails with a sentence telling
    // the user how to enable assistive technologies on their desktop when the
    // accessibility bus cannot be reached or switched on.
    virtual Status ensureEnabled() = 0;
    virtual void raise(const CaptureWindow& window) = 0;
    virtual void focus(const CaptureWindow& window) = 0;
    // Sets the vertical scroll bar to its top; false when none can be driven
    // (the caller then uses the wheel).
    virtual bool scrollToTop(const CaptureWindow& window) = 0;
    // The page's own area on screen (global logical pixels, top-left origin)
    // when the application exposes one that overlaps the window.
    virtual std::optional<QRect> webAreaFrame(const CaptureWindow& window) = 0;
};
