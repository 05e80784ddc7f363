#pragma once

#include "platform/DesktopPicker.h"

#include <QDBusConnection>

// Windows picked in the desktop's own screen-cast dialog, the one way a
// Wayland desktop shows a program another's window: a cast of the chosen
// window for as long as its first picture takes.
class PortalWindowPicker final : public DesktopPicker {
public:
    explicit PortalWindowPicker(QDBusConnection bus);

    bool picks(Target target) const override { return target == Target::Window; }
    QCoro::Task<StatusOr<DesktopPick>> pick(Target target) override;

private:
    QDBusConnection bus_;
};
