#include "capture/page/PageStitch.h"

#include <QHashFunctions>

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace {

// A web area no larger than this is not the page.
constexpr int minContentPixels = 80;
// How many of the changed columns vote on the shift: enough to outvote a
// scroll bar, few enough to stay cheap on any window.
constexpr int votingColumns = 48;
// How far the tree's web area may lie off what the pixels show: a border's width.
constexpr int agreementSlackPixels = 2;

// Four bytes a pixel, whatever the grab gave; the grabs of one run share
// their format, so this copies nothing.
QImage fourBytes(const QImage& image)
{
    return image.depth() == 32 ? image : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QRgb pixel(const QImage& image, int x, int y) { return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x]; }

bool sameRow(const QImage& a, const QImage& b, int rowOfA, int rowOfB, int left, int width)
{
    return std::memcmp(a.constScanLine(rowOfA) + qsizetype(left) * 4, b.constScanLine(rowOfB) + qsizetype(left) * 4,
               std::size_t(width) * 4)
        == 0;
}

// Whether column x of `after` shows, over rows first..last, what `before`
// showed `rows` further down, with at least minOverlapRows to compare.
bool columnFollows(const QImage& before, const QImage& after, int x, int first, int last, int rows)
{
    const int from = std::max(first, first - rows);
    const int to = std::min(last, last - rows);
    if (to - from + 1 < PageStitch::minOverlapRows)
        return false;
    for (int y = from; y <= to; ++y) {
        if (pixel(after, x, y) != pixel(before, x, y + rows))
            return false;
    }
    return true;
}

bool columnChanged(const QImage& before, const QImage& after, int x, int first, int last)
{
    for (int y = first; y <= last; ++y) {
        if (pixel(before, x, y) != pixel(after, x, y))
            return true;
    }
    return false;
}

struct Changes {
    std::vector<int> firstRow; // of each column, -1 where it did not change
    std::vector<int> lastRow;
};

Changes changes(const QImage& before, const QImage& after)
{
    Changes found {std::vector<int>(std::size_t(before.width()), -1), std::vector<int>(std::size_t(before.width()), -1)};
    for (int y = 0; y < before.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(before.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(after.constScanLine(y));
        if (std::memcmp(a, b, std::size_t(before.width()) * 4) == 0)
            continue;
        for (int x = 0; x < before.width(); ++x) {
            if (a[x] == b[x])
                continue;
            if (found.firstRow[std::size_t(x)] < 0)
                found.firstRow[std::size_t(x)] = y;
            found.lastRow[std::size_t(x)] = y;
        }
    }
    return found;
}

// The shift most changed columns agree on, each over the rows where it
// changed, and the rows the agreeing columns span; nothing without one.
struct Vote {
    int rows = 0;
    int firstRow = 0;
    int lastRow = 0;
};

std::optional<Vote> vote(const QImage& before, const QImage& after, const Changes& changed)
{
    std::vector<int> columns;
    for (int x = 0; x < before.width(); ++x) {
        if (changed.firstRow[std::size_t(x)] >= 0)
            columns.push_back(x);
    }
    if (columns.empty())
        return std::nullopt;
    const int height = before.height();
    std::vector<int> votes(std::size_t(2 * height + 1), 0);
    std::vector<int> sampled;
    const std::size_t stride = std::max<std::size_t>(1, columns.size() / votingColumns);
    for (std::size_t i = stride / 2; i < columns.size(); i += stride)
        sampled.push_back(columns[i]);
    for (const int x : sampled) {
        const int first = changed.firstRow[std::size_t(x)];
        const int last = changed.lastRow[std::size_t(x)];
        const int reach = last - first + 1 - PageStitch::minOverlapRows;
        for (int rows = -reach; rows <= reach; ++rows) {
            if (rows != 0 && columnFollows(before, after, x, first, last, rows))
                ++votes[std::size_t(rows + height)];
        }
    }
    const auto best = std::max_element(votes.begin(), votes.end());
    if (*best == 0)
        return std::nullopt;
    Vote result {int(best - votes.begin()) - height, height, -1};
    for (const int x : sampled) {
        const int first = changed.firstRow[std::size_t(x)];
        const int last = changed.lastRow[std::size_t(x)];
        if (columnFollows(before, after, x, first, last, result.rows)) {
            result.firstRow = std::min(result.firstRow, first);
            result.lastRow = std::max(result.lastRow, last);
        }
    }
    return result;
}

std::vector<uint> rowHashes(const QImage& image, const QRect& area)
{
    std::vector<uint> hashes(std::size_t(area.height()));
    for (int row = 0; row < area.height(); ++row) {
        const uchar* bytes = image.constScanLine(area.top() + row) + qsizetype(area.left()) * 4;
        hashes[std::size_t(row)] = uint(qHashBits(bytes, std::size_t(area.width()) * 4));
    }
    return hashes;
}

bool anyChange(const QImage& before, const QImage& after, const QRect& area)
{
    return !area.isEmpty() && !PageStitch::sameIn(before, after, area);
}

} // namespace

namespace PageStitch {

std::optional<Motion> motion(const QImage& beforeImage, const QImage& afterImage)
{
    if (beforeImage.isNull() || beforeImage.size() != afterImage.size())
        return std::nullopt;
    const QImage before = fourBytes(beforeImage);
    const QImage after = fourBytes(afterImage.convertToFormat(before.format()));
    const Changes changed = changes(before, after);
    const std::optional<Vote> agreed = vote(before, after, changed);
    if (!agreed)
        return std::nullopt;
    // The scrolling columns: those that changed in the rows the shift spans
    // and follow it there. A scroll bar changes without following it.
    int left = -1;
    int right = -1;
    for (int x = 0; x < before.width(); ++x) {
        if (changed.firstRow[std::size_t(x)] >= 0 && columnChanged(before, after, x, agreed->firstRow, agreed->lastRow)
            && columnFollows(before, after, x, agreed->firstRow, agreed->lastRow, agreed->rows)) {
            if (left < 0)
                left = x;
            right = x;
        }
    }
    if (left < 0)
        return std::nullopt;
    const QRect scrolling(QPoint(left, agreed->firstRow), QPoint(right, agreed->lastRow));
    // Every row of the part must follow the shift, not just the columns voted.
    if (shift(before, after, scrolling, agreed->rows) != agreed->rows)
        return std::nullopt;
    return Motion {scrolling, agreed->rows};
}

std::optional<int> shift(const QImage& beforeImage, const QImage& afterImage, const QRect& area, int expected)
{
    if (beforeImage.size() != afterImage.size() || !beforeImage.rect().contains(area) || area.height() < minOverlapRows)
        return std::nullopt;
    const QImage before = fourBytes(beforeImage);
    const QImage after = fourBytes(afterImage.convertToFormat(before.format()));
    const std::vector<uint> above = rowHashes(before, area);
    const std::vector<uint> below = rowHashes(after, area);
    const int rows = area.height();
    std::optional<int> best;
    for (int moved = -(rows - minOverlapRows); moved <= rows - minOverlapRows; ++moved) {
        bool fits = true;
        for (int row = std::max(0, -moved); fits && row < std::min(rows, rows - moved); ++row)
            fits = below[std::size_t(row)] == above[std::size_t(row + moved)];
        if (!fits || (best && std::abs(moved - expected) >= std::abs(*best - expected)))
            continue;
        // The hashes only point; the pixels decide.
        for (int row = std::max(0, -moved); fits && row < std::min(rows, rows - moved); ++row)
            fits = sameRow(after, before, area.top() + row, area.top() + row + moved, area.left(), area.width());
        if (fits)
            best = moved;
    }
    return best;
}

bool sameIn(const QImage& aImage, const QImage& bImage, const QRect& area)
{
    if (aImage.size() != bImage.size() || !aImage.rect().contains(area))
        return false;
    const QImage a = fourBytes(aImage);
    const QImage b = fourBytes(bImage.convertToFormat(a.format()));
    for (int y = area.top(); y <= area.bottom(); ++y) {
        if (!sameRow(a, b, y, y, area.left(), area.width()))
            return false;
    }
    return true;
}

bool isOneColour(const QImage& imageIn)
{
    if (imageIn.isNull())
        return true;
    const QImage image = fourBytes(imageIn);
    const QRgb first = pixel(image, 0, 0);
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        if (std::any_of(row, row + image.width(), [first](QRgb p) { return p != first; }))
            return false;
    }
    return true;
}

std::optional<QRect> inImage(const QRect& windowFrame, const QRect& area, QSize imageSize)
{
    const double sx = double(imageSize.width()) / std::max(windowFrame.width(), 1);
    const double sy = double(imageSize.height()) / std::max(windowFrame.height(), 1);
    const QRectF scaled(sx * (area.x() - windowFrame.x()), sy * (area.y() - windowFrame.y()), sx * area.width(),
        sy * area.height());
    const QRect pixels = scaled.toAlignedRect() & QRect(QPoint(0, 0), imageSize);
    if (pixels.width() > minContentPixels && pixels.height() > minContentPixels)
        return pixels;
    return std::nullopt;
}

QRect pageArea(const QRect& scrolling, const std::optional<QRect>& webArea, const QImage& before, const QImage& after)
{
    if (!webArea)
        return scrolling;
    if (!webArea->adjusted(-agreementSlackPixels, -agreementSlackPixels, agreementSlackPixels, agreementSlackPixels)
            .contains(scrolling)) {
        qWarning("The page's area in the accessibility tree is not where the page scrolls: using what scrolls");
        return scrolling;
    }
    QRect page = *webArea & before.rect();
    page = page.united(scrolling);
    // What moved beside the scrolling part without scrolling is a scroll
    // bar: that side ends where the page scrolls.
    if (anyChange(before, after, QRect(QPoint(scrolling.right() + 1, page.top()), QPoint(page.right(), page.bottom()))))
        page.setRight(scrolling.right());
    if (anyChange(before, after, QRect(QPoint(page.left(), page.top()), QPoint(scrolling.left() - 1, page.bottom()))))
        page.setLeft(scrolling.left());
    if (anyChange(before, after, QRect(QPoint(page.left(), scrolling.bottom() + 1), QPoint(page.right(), page.bottom()))))
        page.setBottom(scrolling.bottom());
    if (anyChange(before, after, QRect(QPoint(page.left(), page.top()), QPoint(page.right(), scrolling.top() - 1))))
        page.setTop(scrolling.top());
    return page;
}

} // namespace PageStitch
