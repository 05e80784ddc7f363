#pragma once

#include "platform/CaptureTargets.h"

#include <QPoint>

#include <optional>
#include <vector>

namespace PageWindow {

// The window whose page the user means, among capture targets in stacking
// order (front first): a window of the program in front, the one under the
// pointer or else the largest (the frontmost of equals). None without targets.
std::optional<CaptureWindow> choose(const std::vector<CaptureWindow>& targets, QPoint pointer);

} // namespace PageWindow
