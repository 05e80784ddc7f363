#pragma once

// The page the long_document test program shows: numbered rows of one
// height, each a band of its own colour with its number written at the left,
// so that a capture of it, stitched or not, can be read back row by row. The
// web pages of the browser tests colour their rows the same way.

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace LongDocument {

inline constexpr char title[] = "Long document";
inline constexpr QSize windowSize {900, 700};
inline constexpr int rowHeight = 32;
inline constexpr int defaultRows = 300;
// The number is written in this much at the left of its band; the rest of
// the band is its colour alone.
inline constexpr int labelWidth = 160;

// Three digits of the row number in base 16, one per channel: neighbouring
// rows differ clearly in red, and no two rows share a colour.
inline constexpr int channelBase = 0x40;
inline constexpr int channelStep = 11;

inline QColor rowColour(int row)
{
    return QColor(channelBase + (row % 16) * channelStep, channelBase + (row / 16 % 16) * channelStep,
        channelBase + (row / 256 % 16) * channelStep);
}

// The row whose band has this colour, none for any other colour (its
// label, the space below the last row).
inline std::optional<int> rowOf(QColor colour)
{
    const int digits[] = {colour.red(), colour.green(), colour.blue()};
    int row = 0;
    for (int i = 2; i >= 0; --i) {
        const int step = digits[i] - channelBase;
        if (step < 0 || step % channelStep != 0 || step / channelStep >= 16)
            return std::nullopt;
        row = row * 16 + step / channelStep;
    }
    return row;
}

inline QString rowLabel(int row) { return QStringLiteral("Row %1").arg(row, 4, 10, QLatin1Char('0')); }

// The bands of a picture from the top down in column x, as (what `read`
// makes of their pixels, height).
template <typename Read>
std::vector<std::pair<int, int>> bands(const QImage& picture, int x, Read read)
{
    std::vector<std::pair<int, int>> found;
    for (int y = 0; y < picture.height(); ++y) {
        const int what = read(picture.pixel(x, y));
        if (found.empty() || found.back().first != what)
            found.emplace_back(what, 0);
        ++found.back().second;
    }
    return found;
}

} // namespace LongDocument
