#pragma once

// The capture service's ports that a capture test has no use for, or only
// counts: a shutter that makes no sound but counts, a relaunch that fails the test (or
// counts, where the test asks for one), an Escape key that is always free to
// hold, a computer without sound devices and programs without pages.

#include "platform/GlobalEscape.h"
#include "platform/PageAccessibility.h"
#include "platform/PageInput.h"
#include "platform/Relauncher.h"
#include "platform/ShutterSound.h"
#include "platform/SoundSource.h"

#include <QCursor>
#include <QTest>

#include <cerrno>

class Silence final : public ShutterSound {
public:
    void play() override { ++played; }
    int played = 0;
};

class NoRelaunch final : public Relauncher {
public:
    void relaunch() override { QFAIL("nothing here asks for a relaunch"); }
};

class HeldEscape final : public GlobalEscape {
public:
    bool grab() override { return held = true; }
    void release() override { held = false; }
    bool held = false;
};

class CountingRelauncher final : public Relauncher {
public:
    void relaunch() override { ++relaunched; }
    int relaunched = 0;
};

// A computer without any sound device: recordings have no sound track.
class SilentComputer final : public SoundSources {
public:
    Status open(SoundDevice device, SoundFormat, std::unique_ptr<SoundSource>&) override { return find(device); }
    Status find(SoundDevice) override { return Status::failure(ENODEV, QStringLiteral("no such device")); }
};

// A desktop whose programs show no page: full-page runs end before scrolling.
class NoPages final : public PageAccessibility, public PageInput {
public:
    Status ensureEnabled() override { return enabled; }
    void raise(const CaptureWindow&) override {}
    void focus(const CaptureWindow&) override {}
    bool scrollToTop(const CaptureWindow&) override { return false; }
    std::optional<QRect> webAreaFrame(const CaptureWindow&) override { return std::nullopt; }
    QPoint pointer() override { return QCursor::pos(); }
    void warpPointer(QPoint) override {}
    bool hold() override { return true; }
    void release() override {}
    void wheel(QPoint, int) override {}
    void activate(const CaptureWindow&) override {}

    Status enabled = Status::success();
};
