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
    void wheel(QPoint at, int clicks) override;
    void activate(const CaptureWindow& window) override;

private:
    bool held_ = false;
};
