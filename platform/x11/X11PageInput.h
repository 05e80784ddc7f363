#pragma once

#include "platform/PageInput.h"

// The pointer, the wheel and window activation on an X server, over Qt's
// own connection to it. The wheel is XTest's fake buttons 4 and 5. Where the
// application does not run on X11 the pointer is at 0,0 and nothing moves.
class X11PageInput final : public PageInput {
public:
    X11PageInput() = default;
    // Lets go of the pointer if it is still held.
    ~X11PageInput() override;
    X11PageInput(const X11PageInput&) = delete;
    X11PageInput& operator=(const X11PageInput&) = delete;

    QPoint pointer() override;
    void warpPointer(QPoint to) override;
    bool hold() override;
    void release() override;
    void wheel(QPoint at, int pixels) override;
    void activate(const CaptureWindow& window) override;

    // Programs scroll their own distance per wheel click (three lines, a
    // share of the page...), so this only turns a distance into a number of
    // clicks; the stitching finds the real overlap in the pixels.
    static constexpr int wheelPixelsPerClick = 53;

private:
    bool held_ = false;
};
