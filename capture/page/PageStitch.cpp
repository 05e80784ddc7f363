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

// Of the rows a column changed in, so many may differ from the shift and
// it still votes for it: the few rows a bar's shadow darkens on the page.
int toleratedRows(int overlap) { return std::max(8, overlap / 16); }

// The shift under which column x, over the rows it changed in, differs from
// `before` in the fewest rows, if few enough.
std::optional<int> bestShift(const QImage& before, const QImage& after, int x, int first, int last)
{
    const int reach = last - first + 1 - PageStitch::minOverlapRows;
    std::optional<int> best;
    int fewest = 0;
    for (int rows = -reach; rows <= reach; ++rows) {
        if (rows == 0)
            continue;
        const int from = std::max(first, first - rows);
        const int to = std::min(last, last - rows);
        const int allowed = std::min(toleratedRows(to - from + 1), best ? fewest - 1 : std::numeric_limits<int>::max());
        int differing = 0;
        for (int y = from; y <= to && differing <= allowed; ++y)
            differing += pixel(after, x, y) != pixel(before, x, y + rows) ? 1 : 0;
        if (differing <= allowed) {
            best = rows;
            fewest = differing;
        }
    }
    return best;
}

// The shift most changed columns agree on, and those columns.
struct Vote {
    int rows = 0;
    std::vector<int> columns;
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
    std::vector<std::vector<int>> voters(std::size_t(2 * height + 1));
    const std::size_t stride = std::max<std::size_t>(1, columns.size() / votingColumns);
    for (std::size_t i = stride / 2; i < columns.size(); i += stride) {
        const int x = columns[i];
        if (const std::optional<int> rows =
                bestShift(before, after, x, changed.firstRow[std::size_t(x)], changed.lastRow[std::size_t(x)]))
            voters[std::size_t(*rows + height)].push_back(x);
    }
    const auto best = std::max_element(
        voters.begin(), voters.end(), [](const auto& a, const auto& b) { return a.size() < b.size(); });
    if (best->empty())
        return std::nullopt;
    return Vote {int(best - voters.begin()) - height, *best};
}

// Whether row y of the window moved with the shift in these columns: it
// shows after what it showed `rows` further down before, or it showed
// before what shows `rows` further up after.
bool rowFollows(const QImage& before, const QImage& after, int y, int rows, const std::vector<int>& columns)
{
    const auto holds = [&](const QImage& a, const QImage& b, int from, int to) {
        return to >= 0 && to < a.height()
            && std::all_of(columns.begin(), columns.end(), [&](int x) { return pixel(a, x, from) == pixel(b, x, to); });
    };
    return holds(after, before, y, y + rows) || holds(before, after, y, y - rows);
}

bool rowChanged(const QImage& before, const QImage& after, int y, const std::vector<int>& columns)
{
    return std::any_of(columns.begin(), columns.end(), [&](int x) { return pixel(before, x, y) != pixel(after, x, y); });
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
    // The scrolling rows: from the first to the last that changed and moved
    // with the shift. A bar's shadow over the page's top changes without
    // moving with it, a fixed footer does not change.
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < before.height(); ++y) {
        if (rowChanged(before, after, y, agreed->columns) && rowFollows(before, after, y, agreed->rows, agreed->columns)) {
            if (top < 0)
                top = y;
            bottom = y;
        }
    }
    if (bottom - top + 1 < minOverlapRows + std::abs(agreed->rows))
        return std::nullopt;
    // The scrolling columns: those that changed in these rows and moved
    // with the shift there. A scroll bar changes without moving with it.
    int left = -1;
    int right = -1;
    for (int x = 0; x < before.width(); ++x) {
        if (changed.firstRow[std::size_t(x)] >= 0 && columnChanged(before, after, x, top, bottom)
            && columnFollows(before, after, x, top, bottom, agreed->rows)) {
            if (left < 0)
                left = x;
            right = x;
        }
    }
    if (left < 0)
        return std::nullopt;
    // A plain margin or border of the page does not change, yet it
    // scrolls. Unlike the window's frame it ends where the page does, above
    // and below; unlike a scroll bar's plain track beside it, it is one band
    // of one colour.
    const auto plainBand = [&](int x, std::optional<QRgb>& colour) {
        const QRgb plain = pixel(before, x, top);
        const bool endsAbove = top == 0 || pixel(before, x, top - 1) != plain;
        const bool endsBelow = bottom + 1 == before.height() || pixel(before, x, bottom + 1) != plain;
        const bool spansTheWindow = top == 0 && bottom + 1 == before.height();
        if ((colour && *colour != plain) || !endsAbove || !endsBelow || spansTheWindow)
            return false;
        for (int y = top; y <= bottom; ++y) {
            if (pixel(before, x, y) != plain || pixel(after, x, y) != plain)
                return false;
        }
        colour = plain;
        return true;
    };
    // A band right beside something that moved without following (a
    // scroll bar's thumb) is that scroll bar's plain track.
    const auto movedBeside = [&](int x) {
        return x >= 0 && x < before.width() && columnChanged(before, after, x, top, bottom);
    };
    int edge = left;
    for (std::optional<QRgb> colour; edge > 0 && plainBand(edge - 1, colour);)
        --edge;
    if (!movedBeside(edge - 1))
        left = edge;
    edge = right;
    for (std::optional<QRgb> colour; edge + 1 < before.width() && plainBand(edge + 1, colour);)
        ++edge;
    if (!movedBeside(edge + 1))
        right = edge;
    const QRect scrolling(QPoint(left, top), QPoint(right, bottom));
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
