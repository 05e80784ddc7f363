#include "platform/LogicalPixels.h"

#include <cmath>

QRect pixelsShowing(const QRect& area, const QSize& imageSize, const QRect& wanted)
{
    const QRect visible = wanted.intersected(area);
    if (visible.isEmpty())
        return {};
    const qreal sx = imageSize.width() / qreal(area.width());
    const qreal sy = imageSize.height() / qreal(area.height());
    const int left = int(std::floor((visible.left() - area.left()) * sx));
    const int top = int(std::floor((visible.top() - area.top()) * sy));
    const int right = int(std::ceil((visible.left() + visible.width() - area.left()) * sx));
    const int bottom = int(std::ceil((visible.top() + visible.height() - area.top()) * sy));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).intersected(QRect(QPoint(0, 0), imageSize));
}
