#pragma once

#include "platform/CaptureTargets.h"

#include <vector>

// The windows a user may capture: on screen, at least 120 × 80 (smaller ones
// are tool palettes and tooltips), not the desktop's own chrome and not
// Dropwell's. Front to back, as listed.
std::vector<CaptureWindow> capturableWindows(const CaptureContent& content);
