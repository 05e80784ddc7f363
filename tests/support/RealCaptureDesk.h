#pragma once

// Dropwell's capture service on the real X11 desktop: the screen, the
// accessibility bus and XTest's wheel for real; no shutter, no relaunch, no
// recording.

#include "app/ModelCaptureHost.h"
#include "capture/CaptureService.h"
#include "capture/recording/ScreenRecorder.h"
#include "platform/linux/AtspiPageAccessibility.h"
#include "platform/PageInput.h"
#include "platform/x11/X11Backend.h"
#include "tests/support/QuietCaptureServices.h"

#include <memory>

struct RealCaptureDesk {
    X11Backend desktop;
    ScreenCapture& screen = desktop.screenCapture();
    PageInput& input = *desktop.pageInput();
    AtspiPageAccessibility accessibility;
    Silence shutter;
    NoRelaunch relauncher;
    ScreenRecorder recorder {ScreenRecorder::Ports {}};
    std::unique_ptr<ModelCaptureHost> host;

    // One service at a time: the last one's host goes with the next.
    std::unique_ptr<CaptureService> service(AppModel& model, DefaultsStore& defaults)
    {
        host = std::make_unique<ModelCaptureHost>(model);
        return std::make_unique<CaptureService>(*host,
            CaptureService::Ports {&screen, &shutter, &relauncher, &defaults, &recorder, &desktop.globalEscape(),
                &accessibility, &input, &desktop.windows()});
    }
};
