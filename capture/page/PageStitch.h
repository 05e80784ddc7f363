#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

#include <optional>

// The picture side of a full-page capture: window images taken after each
// scroll step ("shots") and how they go together into one tall page.
namespace PageStitch {

// A stitched page ends here, however long the page is.
constexpr int maxPageRows = 20000;

// A cheap hash of a picture's look: every sixth pixel's red byte. Null
// pictures hash to 0.
quint64 fingerprint(const QImage& image);

// Same size, and the same at thumbnail scale: the page did not move.
bool nearlyEqual(const QImage& a, const QImage& b);

// The upper halves look the same: what moved was below a fixed top.
bool topSimilar(const QImage& a, const QImage& b);

// How many rows at the bottom of `next` were not yet in `previous`.
int newRows(const QImage& previous, const QImage& next);

// Writes the bottom `rows` rows of `shot` into `canvas` under its first
// `filledRows` rows, or flush with its bottom edge where they would run past
// it. Returns filledRows plus the rows the piece has; more than the canvas's
// height means the page is full and nothing more goes in.
int appendPiece(QImage& canvas, int filledRows, const QImage& shot, int rows);

// The four-byte format a page stitched onto `first` is kept in.
QImage::Format canvasFormat(const QImage& first);

// The part of a window image (of `imageSize` device pixels) that is page
// content. The frame and the web area are global logical rectangles.
QRect contentCrop(const QRect& windowFrame, const std::optional<QRect>& webArea, QSize imageSize);

} // namespace PageStitch
