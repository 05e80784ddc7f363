#pragma once

#include "capture/page/PageStitch.h"

#include <QImage>

#include <cstddef>
#include <optional>

// One full-page capture while it scrolls: decides when to stop, and stitches
// each shot onto the page as it comes. Only the page and the latest shot are
// held, never every shot, and the page grows in memory reserved for the
// longest one, so it is never copied.
class PageShots {
public:
    static constexpr int maxPageRows = PageStitch::maxPageRows;
    static constexpr int maxShots = 40;
    enum class Next { ScrollAgain, Done };

    // The first cropped shot, and where the scroll bar stood (0..1) when known.
    explicit PageShots(QImage first, std::optional<double> firstFraction = std::nullopt);
    ~PageShots();
    PageShots(const PageShots&) = delete;
    PageShots& operator=(const PageShots&) = delete;

    // One more cropped shot and the scroll bar's position (0..1) when known.
    Next add(const QImage& shot, std::optional<double> scrollFraction);
    // The stitched page; null when there was no memory for it. Call once,
    // after Done or when the caller stops scrolling.
    QImage result();

private:
    Next finish();

    QImage last_;
    double previousFraction_;
    int shotsAdded_ = 0;
    // The page's height as the overlaps give it, and how far pieces reach.
    int pageRows_ = 0;
    int filledRows_ = 0;
    bool done_ = false;
    uchar* memory_ = nullptr;
    std::size_t reservedBytes_ = 0;
    // maxPageRows rows over memory_, written in place.
    QImage canvas_;
};
