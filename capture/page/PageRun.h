#pragma once

#include "capture/CaptureError.h"
#include "platform/Status.h"

#include <QImage>
#include <QRect>

#include <qcoro/qcorotask.h>

#include <optional>

class PageScroller;

namespace PageRun {

// A shot that could not be taken ends the run with the reason.
inline CaptureError failed(const StatusOr<QImage>& shot) { return CaptureError::failed(shot.status().message()); }

// From the page's top as `scroller` shows it, `top`, down to its end: one
// click shows what scrolls and how far a click goes, then each step brings
// in new rows that overlap the last shot, and the page is stitched from
// them. `webArea` is where the page lies in the shots, where known. A window
// that does not scroll is taken as it shows.
QCoro::Task<CaptureResult<QImage>> stitchDown(PageScroller& scroller, QImage top, std::optional<QRect> webArea);

} // namespace PageRun
