#pragma once

#include "platform/CaptureTargets.h"

#include <optional>
#include <vector>

// Where things are on the desktop's displays.
namespace DisplayGeometry {

// The display whose area holds the rectangle's centre; the first display
// when none does; nothing without displays.
std::optional<CaptureDisplay> containing(const std::vector<CaptureDisplay>& displays, const QRect& rect);

// The pixels of an image of `display` (of `imageSize`) that show the logical
// rectangle `crop`: whole pixels outward, within the image.
QRect pixelRect(const CaptureDisplay& display, const QRect& crop, const QSize& imageSize);

} // namespace DisplayGeometry
