#pragma once

#include <QSize>

#include <algorithm>

// H.264 in 4:2:0 needs even sides: a recording drops the last odd row or
// column, and is never smaller than 2 x 2.
inline QSize evenFrameSize(QSize pixels)
{
    return QSize(std::max(pixels.width() & ~1, 2), std::max(pixels.height() & ~1, 2));
}
