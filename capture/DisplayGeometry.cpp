#include "capture/DisplayGeometry.h"

#include "platform/LogicalPixels.h"


namespace DisplayGeometry {

std::optional<CaptureDisplay> containing(const std::vector<CaptureDisplay>& displays, const QRect& rect)
{
    if (displays.empty())
        return std::nullopt;
    const QPointF centre = QRectF(rect).center();
    for (const CaptureDisplay& display : displays) {
        if (QRectF(display.geometry).contains(centre))
            return display;
    }
    return displays.front();
}

QRect pixelRect(const CaptureDisplay& display, const QRect& crop, const QSize& imageSize)
{
    return pixelsShowing(display.geometry, imageSize, crop);
}

} // namespace DisplayGeometry
