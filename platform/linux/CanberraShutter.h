#pragma once

#include "platform/ShutterSound.h"

struct ca_context;

// The "camera-shutter" sound of the user's freedesktop sound theme, through
// libcanberra, which honours the theme and the desktop's event-sound switch.
class CanberraShutter final : public ShutterSound {
public:
    CanberraShutter();
    ~CanberraShutter() override;
    CanberraShutter(const CanberraShutter&) = delete;
    CanberraShutter& operator=(const CanberraShutter&) = delete;

    void play() override;

private:
    ca_context* context_ = nullptr;
};
