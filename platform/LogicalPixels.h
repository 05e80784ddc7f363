#pragma once

#include <QRect>
#include <QSize>

// The pixels of an image of size `imageSize` that shows the logical `area`,
// which show the logical rectangle `wanted`: whole pixels outward, within
// the image. Empty where `wanted` is outside `area`.
QRect pixelsShowing(const QRect& area, const QSize& imageSize, const QRect& wanted);
