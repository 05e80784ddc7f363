#pragma once

// The capture service's ports that a capture test has no use for: a shutter
// that makes no sound, a relaunch that fails the test, as nothing in it asks
// for one, and an Escape key that is always free to hold.

#include "platform/GlobalEscape.h"
#include "platform/Relauncher.h"
#include "platform/ShutterSound.h"

#include <QTest>

class Silence final : public ShutterSound {
public:
    void play() override {}
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
