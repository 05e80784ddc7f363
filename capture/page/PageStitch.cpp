#include "capture/page/PageStitch.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace {

constexpr quint64 fingerprintStart = 1469598103934665603ULL;
constexpr quint64 fingerprintPrime = 0x100000001b3ULL;
// Every sixth pixel's red byte: enough to tell thumbnails apart.
constexpr qsizetype fingerprintStrideBytes = 24;
constexpr QSize fingerprintThumbSize(48, 32);

// Below this, in either direction, shots are too small to compare.
constexpr int minComparableRows = 41;
constexpr int minTopBandRows = 24;

// Overlap search. Shots too small to search add half their height.
constexpr int minFallbackRows = 24;
constexpr int searchThumbWidth = 72;
constexpr int maxSearchThumbRows = 180;
constexpr int searchColumnStep = 2;
constexpr int searchedColumns = searchThumbWidth / searchColumnStep;
constexpr int smallShotRows = 288;
constexpr int smallShotFirstOverlapThumbRows = 8;
constexpr int lastOverlapMarginThumbRows = 6;
constexpr int minNewRows = 16;
// A shot that brings more than this much new is not a scroll of the last one.
constexpr int maxNewRowsPercent = 88;

// A web area no larger than this is not the page.
constexpr int minContentPixels = 80;
// Where no web area is known: what a browser's toolbars, status bar and
// window edges usually take, in logical pixels and at most as a share of the
// picture.
constexpr double toolbarsLogicalPixels = 96;
constexpr double toolbarsShare = 0.18;
constexpr double statusBarLogicalPixels = 40;
constexpr double statusBarShare = 0.08;
constexpr double windowEdgeLogicalPixels = 16;
constexpr double windowEdgeShare = 0.03;
// Inside the page: the scroll bar on either side, and whatever floats over
// its bottom edge (cookie bars, chat buttons).
constexpr double scrollBarLogicalPixels = 18;
constexpr double scrollBarShare = 0.02;
constexpr double bottomOverlayLogicalPixels = 32;
constexpr double bottomOverlayShare = 0.045;

QImage thumbnail(const QImage& image, QSize size)
{
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .convertToFormat(QImage::Format_RGBA8888_Premultiplied);
}

quint64 thumbnailFingerprint(const QImage& image)
{
    return PageStitch::fingerprint(thumbnail(image, fingerprintThumbSize));
}

// The overlap the search thumbnails show (in their rows), the smallest of
// the best; nothing when they cannot be made.
std::optional<int> thumbnailOverlap(const QImage& previous, const QImage& next, int shotRows, int thumbRows)
{
    const QImage above = thumbnail(previous, QSize(searchThumbWidth, thumbRows));
    const QImage below = thumbnail(next, QSize(searchThumbWidth, thumbRows));
    if (above.isNull() || below.isNull())
        return std::nullopt;
    const int firstOverlap = shotRows >= smallShotRows ? thumbRows / 12 : smallShotFirstOverlapThumbRows;
    int best = thumbRows / 4;
    quint64 bestScore = std::numeric_limits<quint64>::max();
    for (int overlap = firstOverlap; overlap <= thumbRows - lastOverlapMarginThumbRows; ++overlap) {
        quint64 difference = 0;
        for (int row = 0; row < overlap; ++row) {
            const uchar* upper = above.constScanLine(thumbRows - overlap + row);
            const uchar* lower = below.constScanLine(row);
            for (int byte = 0; byte < searchThumbWidth * 4; byte += searchColumnStep * 4) {
                for (int channel = 0; channel < 3; ++channel)
                    difference += quint64(std::abs(upper[byte + channel] - lower[byte + channel]));
            }
        }
        const quint64 score = difference / (quint64(overlap) * searchedColumns);
        if (score < bestScore) {
            bestScore = score;
            best = overlap;
        }
    }
    return best;
}

// Both pictures in one layout of four bytes a pixel; the shots of one run
// share theirs, so this copies nothing.
std::pair<QImage, QImage> fourBytePixels(const QImage& a, const QImage& b)
{
    if (a.format() == b.format() && a.depth() == 32)
        return {a, b};
    return {a.convertToFormat(QImage::Format_ARGB32_Premultiplied), b.convertToFormat(QImage::Format_ARGB32_Premultiplied)};
}

struct Match {
    int overlap = 0;
    quint64 difference = 0;
};

// Less difference per overlapping row than the best so far.
bool beats(quint64 difference, int overlap, const std::optional<Match>& best)
{
    return !best || difference * quint64(best->overlap) < best->difference * quint64(overlap);
}

// The overlaps near the estimate, nearest first.
std::vector<int> candidates(int estimate, int slack, int lowest, int highest)
{
    std::vector<int> overlaps {estimate};
    for (int distance = 1; distance <= slack; ++distance) {
        for (const int overlap : {estimate - distance, estimate + distance}) {
            if (overlap >= lowest && overlap <= highest)
                overlaps.push_back(overlap);
        }
    }
    return overlaps;
}

// A thumbnail row spans several rows of the shot (four or five of 800), so
// the thumbnails place the overlap only that closely, and a page stitched on
// that alone repeats or loses a few rows at every seam. So the full-size rows
// decide among the overlaps near the estimate: every row, every byte,
// nearest the estimate first. A candidate is dropped as soon as it cannot
// win, and an exact match ends the search, which keeps this cheap.
int refinedOverlap(const QImage& previous, const QImage& next, const std::vector<int>& overlaps)
{
    const auto [above, below] = fourBytePixels(previous, next);
    if (above.isNull() || below.isNull())
        return overlaps.front();
    const qsizetype rowBytes = qsizetype(std::min(above.width(), below.width())) * 4;
    std::optional<Match> best;
    for (const int overlap : overlaps) {
        quint64 difference = 0;
        for (int row = 0; row < overlap && beats(difference, overlap, best); ++row) {
            const uchar* upper = above.constScanLine(above.height() - overlap + row);
            const uchar* lower = below.constScanLine(row);
            unsigned rowDifference = 0;
            for (qsizetype byte = 0; byte < rowBytes; ++byte)
                rowDifference += unsigned(std::abs(upper[byte] - lower[byte]));
            difference += rowDifference;
        }
        if (!beats(difference, overlap, best))
            continue;
        best = Match {overlap, difference};
        if (difference == 0)
            break;
    }
    return best ? best->overlap : overlaps.front();
}

// The smallest whole-pixel rectangle around `area`, within the image, if it
// is large enough to be content.
std::optional<QRect> contentArea(const QRectF& area, const QRect& image)
{
    const QRect pixels = area.toAlignedRect() & image;
    if (pixels.width() > minContentPixels && pixels.height() > minContentPixels)
        return pixels;
    return std::nullopt;
}

} // namespace

namespace PageStitch {

quint64 fingerprint(const QImage& image)
{
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    if (rgba.isNull())
        return 0;
    // Walked as if rows were packed tightly, whatever the row padding.
    const qsizetype rowBytes = qsizetype(rgba.width()) * 4;
    const qsizetype bytes = rowBytes * rgba.height();
    quint64 hash = fingerprintStart;
    for (qsizetype i = 0; i + 4 < bytes; i += fingerprintStrideBytes)
        hash = (hash ^ rgba.constScanLine(int(i / rowBytes))[i % rowBytes]) * fingerprintPrime;
    return hash;
}

bool nearlyEqual(const QImage& a, const QImage& b)
{
    return a.size() == b.size() && thumbnailFingerprint(a) == thumbnailFingerprint(b);
}

bool topSimilar(const QImage& a, const QImage& b)
{
    const int height = std::min(a.height(), b.height());
    const int width = std::min(a.width(), b.width());
    if (height < minComparableRows || width < minComparableRows)
        return false;
    const QRect band(0, 0, width, std::max(height / 2, minTopBandRows));
    const QImage topOfA = a.copy(band);
    const QImage topOfB = b.copy(band);
    return !topOfA.isNull() && !topOfB.isNull() && thumbnailFingerprint(topOfA) == thumbnailFingerprint(topOfB);
}

int newRows(const QImage& previous, const QImage& next)
{
    const int shotRows = std::min(previous.height(), next.height());
    const int fallback = std::max(shotRows / 2, minFallbackRows);
    if (shotRows < minComparableRows)
        return fallback;
    const int thumbRows = std::min(shotRows / 3, maxSearchThumbRows);
    const std::optional<int> thumbOverlap = thumbnailOverlap(previous, next, shotRows, thumbRows);
    if (!thumbOverlap)
        return fallback;
    // Only overlaps that leave between minNewRows and all but minNewRows rows new.
    const int lowest = minNewRows;
    const int highest = shotRows - minNewRows;
    const int estimate = std::clamp(*thumbOverlap * shotRows / thumbRows, lowest, highest);
    const int rowsPerThumbRow = (shotRows + thumbRows - 1) / thumbRows;
    const int overlap = refinedOverlap(previous, next, candidates(estimate, 2 * rowsPerThumbRow + 2, lowest, highest));
    const int rows = shotRows - overlap;
    return rows > shotRows * maxNewRowsPercent / 100 ? fallback : rows;
}

int appendPiece(QImage& canvas, int filledRows, const QImage& shot, int rows)
{
    const int pieceRows = std::min(rows, shot.height());
    const QImage source = shot.convertToFormat(canvas.format());
    if (source.isNull() || canvas.isNull())
        return filledRows + pieceRows;
    const int top = filledRows + pieceRows <= canvas.height() ? filledRows : std::max(canvas.height() - pieceRows, 0);
    const int firstSourceRow = shot.height() - pieceRows;
    const std::size_t rowBytes = std::size_t(std::min(shot.width(), canvas.width())) * std::size_t(canvas.depth() / 8);
    uchar* const bits = canvas.bits();
    for (int row = 0; row < pieceRows && top + row < canvas.height(); ++row)
        std::memcpy(bits + (top + row) * canvas.bytesPerLine(), source.constScanLine(firstSourceRow + row), rowBytes);
    return filledRows + pieceRows;
}

QImage::Format canvasFormat(const QImage& first)
{
    // Window grabs are opaque, and an opaque page makes a smaller file.
    return first.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
}

QRect contentCrop(const QRect& windowFrame, const std::optional<QRect>& webArea, QSize imageSize)
{
    const QRect image(QPoint(0, 0), imageSize);
    const double width = imageSize.width();
    const double height = imageSize.height();
    const double sx = width / std::max(windowFrame.width(), 1);
    const double sy = height / std::max(windowFrame.height(), 1);

    QRectF page;
    if (webArea && webArea->width() > minContentPixels && webArea->height() > minContentPixels) {
        page = QRectF(sx * (webArea->x() - windowFrame.x()), sy * (webArea->y() - windowFrame.y()),
            sx * webArea->width(), sy * webArea->height());
    } else {
        const double top = std::min(sy * toolbarsLogicalPixels, height * toolbarsShare);
        const double bottom = std::min(sy * statusBarLogicalPixels, height * statusBarShare);
        const double side = std::min(sx * windowEdgeLogicalPixels, width * windowEdgeShare);
        page = QRectF(side, top, width - 2 * side, height - top - bottom);
    }
    const QRect base = contentArea(page, image).value_or(image);

    // These would repeat in every shot; the top edge stays, as that is where
    // the page scrolls in.
    const double scrollBar = std::min(base.width() * scrollBarShare, sx * scrollBarLogicalPixels);
    const double overlay = std::min(base.height() * bottomOverlayShare, sy * bottomOverlayLogicalPixels);
    return contentArea(QRectF(base.x() + scrollBar, base.y(), base.width() - 2 * scrollBar, base.height() - overlay), image)
        .value_or(base);
}

} // namespace PageStitch
