#pragma once

#include <QImage>
#include <QRect>

#include <optional>

// The picture side of a full-page capture: what two window images taken
// before and after a scroll say about the page. Nothing here guesses: a
// shift is only ever one under which every overlapping row of the two
// pictures is the same.
namespace PageStitch {

// A stitched page ends here, however long the page is.
constexpr int maxPageRows = 20000;
// Fewer overlapping rows than this prove nothing.
constexpr int minOverlapRows = 24;

// What one scroll did to a window, found from its pictures before and after.
struct Motion {
    // The part of the window image whose content moved, and only that: the
    // page's own fixed header, footer and side bar, the scroll bar and the
    // program's bars are outside it.
    QRect scrolling;
    // How many rows the content moved up (the page scrolled down by that much).
    int rows = 0;
};

// The scrolling part of two same-sized window images, and how far it moved;
// nothing when nothing moved as one block (a window that does not scroll,
// a blinking caret, an animation).
std::optional<Motion> motion(const QImage& before, const QImage& after);

// How many rows `after` shows below `before` in `area` (both window images
// of the same size): content moved up by that many rows. Negative when the
// page moved the other way, 0 when it stayed. Nothing unless every one of at
// least minOverlapRows overlapping rows agrees. Where several shifts fit (a
// plain area), the one nearest `expected` is taken.
std::optional<int> shift(const QImage& before, const QImage& after, const QRect& area, int expected);

// The same pixels in `area` of both images.
bool sameIn(const QImage& a, const QImage& b, const QRect& area);

// A picture of one colour only: nothing to read.
bool isOneColour(const QImage& image);

// The part of a window image (of `imageSize` device pixels) that the global
// logical rectangle `area` of the window with frame `windowFrame` covers;
// nothing when too small to be a page.
std::optional<QRect> inImage(const QRect& windowFrame, const QRect& area, QSize imageSize);

// Where the page is in a window image whose scrolling part is `scrolling`:
// the web area the accessibility tree gives, when it holds the scrolling
// part, without the side or edge where something moved that did not scroll
// (the scroll bar). The scrolling part alone otherwise.
QRect pageArea(const QRect& scrolling, const std::optional<QRect>& webArea, const QImage& before, const QImage& after);

} // namespace PageStitch
