#pragma once

// The sound of a screenshot being taken.
class ShutterSound {
public:
    virtual ~ShutterSound() = default;
    // Starts the sound over when it is still playing, so quick captures do
    // not pile up; silent where the desktop has no sound.
    virtual void play() = 0;
};
