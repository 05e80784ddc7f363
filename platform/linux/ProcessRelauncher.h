#pragma once

#include "platform/Relauncher.h"

#include <QString>

// Relaunches through a detached shell that waits until this process has
// gone, then starts the same executable.
class ProcessRelauncher final : public Relauncher {
public:
    explicit ProcessRelauncher(QString executable);
    void relaunch() override;

private:
    QString executable_;
};
