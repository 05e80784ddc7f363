#pragma once

#include "capture/page/PageStitch.h"

#include <QImage>
#include <QRect>

#include <cstddef>

// One full-page capture while it scrolls: each window image's new rows go
// onto the page as they come. The page's fixed parts (the part of the page
// above, below and beside what scrolls: a sticky header, a fixed footer, a
// side bar) are on it once: the header and side bars from the first image,
// the footer from the last. Beside what scrolls, below the first screen, the
// page is transparent: nothing was drawn there. Only the page and the
// latest image are held, never every image, and the page grows in memory
// reserved for the longest one, so it is never copied.
class PageShots {
public:
    static constexpr int maxPageRows = PageStitch::maxPageRows;
    static constexpr int maxShots = 40;

    // The first window image, where the page is in it and the part of the
    // page that scrolls (window image pixels).
    PageShots(const QImage& first, const QRect& page, const QRect& scrolling);
    ~PageShots();
    PageShots(const PageShots&) = delete;
    PageShots& operator=(const PageShots&) = delete;

    // The next window image, scrolled `rows` rows further than the last one
    // added. False once the page is full or has its most images: stop.
    bool add(const QImage& image, int rows);
    // The stitched page with the footer of `last` (the last window image);
    // null when there was no memory for it. Call once.
    QImage result(const QImage& last);

private:
    void write(const QImage& image, const QRect& from, int atRow, int atColumn);

    QRect page_;
    QRect scrolling_;
    int shots_ = 1;
    int filledRows_ = 0;
    uchar* memory_ = nullptr;
    std::size_t reservedBytes_ = 0;
    // maxPageRows rows over memory_, written in place.
    QImage canvas_;
};
