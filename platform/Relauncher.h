#pragma once

// Starts Dropwell again and ends this process, so that a permission the
// desktop grants only to newly started programs takes effect.
class Relauncher {
public:
    virtual ~Relauncher() = default;
    virtual void relaunch() = 0;
};
