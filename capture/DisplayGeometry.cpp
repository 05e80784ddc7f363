#include "capture/DisplayGeometry.h"

#include <cmath>

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
    const QRect visible = crop.intersected(display.geometry);
    if (visible.isEmpty())
        return {};
    const qreal sx = imageSize.width() / qreal(display.geometry.width());
    const qreal sy = imageSize.height() / qreal(display.geometry.height());
    const int left = int(std::floor((visible.left() - display.geometry.left()) * sx));
    const int top = int(std::floor((visible.top() - display.geometry.top()) * sy));
    const int right = int(std::ceil((visible.left() + visible.width() - display.geometry.left()) * sx));
    const int bottom = int(std::ceil((visible.top() + visible.height() - display.geometry.top()) * sy));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).intersected(QRect(QPoint(0, 0), imageSize));
}

} // namespace DisplayGeometry
