#pragma once

// Dropwell's capture service on a whole desktop backend, over a test world
// of its own: no shutter sound, no relaunch, short pauses.

#include "app/ModelCaptureHost.h"
#include "capture/CaptureService.h"
#include "capture/recording/ScreenRecorder.h"
#include "platform/DesktopBackend.h"
#include "tests/support/QuietCaptureServices.h"
#include "tests/support/TestSupport.h"

#include <QDir>

#include <memory>

struct BackendCaptureDesk {
    // `open` makes the backend, given where it keeps what the desktop allowed.
    template <typename OpenBackend>
    BackendCaptureDesk(OpenBackend open, SoundSources& sound)
        : model(world.makeModel())
        , host(*model)
        , desktop(open(*world.defaults))
        , recorder(ScreenRecorder::Ports {&desktop->frameSources(), &sound})
        , service(host,
              CaptureService::Ports {&desktop->screenCapture(), &shutter, &relauncher, world.defaults.get(), &recorder,
                  &desktop->globalEscape(), nullptr, desktop->pageInput(), &desktop->windows(), desktop->pageCasts()},
              CaptureService::Timing {std::chrono::milliseconds(10), std::chrono::milliseconds(10), 300,
                  std::chrono::milliseconds(10), PageScroller::defaultTiming})
    {
    }

    QStringList inboxNames() const { return QDir(world.folders().inbox()).entryList(QDir::Files, QDir::Name); }

    TestWorld world;
    std::unique_ptr<AppModel> model;
    ModelCaptureHost host;
    std::unique_ptr<DesktopBackend> desktop;
    Silence shutter;
    NoRelaunch relauncher;
    ScreenRecorder recorder;
    CaptureService service;
};
