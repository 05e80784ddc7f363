#pragma once

#include "capture/CaptureError.h"
#include "capture/page/PageScroller.h"
#include "platform/CaptureTargets.h"

#include <QCoreApplication>
#include <QImage>

#include <qcoro/qcorotask.h>

#include <chrono>

class CaptureAccess;
class CaptureHost;
class PageAccessibility;
class PageCasts;
class PageInput;
class ScreenCapture;
class ScreenClearing;

// A full page: the user's window, scrolled from its top and shot after every
// step until the page stops moving, each shot's new rows added where they
// overlap the last shot exactly.
class PageCapture {
    Q_DECLARE_TR_FUNCTIONS(PageCapture)
public:
    struct Ports {
        ScreenCapture* screen = nullptr;
        PageAccessibility* page = nullptr;
        // None where the desktop lets no program move the pointer and turn
        // the wheel at will.
        PageInput* input = nullptr;
        // Where there is no input: the desktop's grant of one window and
        // the pointer over it, if it might give one.
        PageCasts* casts = nullptr;
    };
    struct Timing {
        // For Dropwell's windows to be gone from the screen.
        std::chrono::milliseconds settle;
        // How long a page may take to begin and to end moving after the wheel.
        PageScroller::Timing scroll;
    };

    PageCapture(Ports ports, CaptureAccess& access, ScreenClearing& clearing, CaptureHost& host, Timing timing);

    QCoro::Task<CaptureResult<QImage>> take();
    // What a full page on a desktop that lets no program scroll another's
    // window ends with.
    static QString cannotScroll();

private:
    QCoro::Task<CaptureResult<QImage>> stitch(CaptureWindow window, CaptureDisplay display);
    QCoro::Task<CaptureResult<QImage>> fromCast();

    Ports ports_;
    CaptureAccess& access_;
    ScreenClearing& clearing_;
    CaptureHost& host_;
    Timing timing_;
};
