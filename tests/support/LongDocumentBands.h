#pragma once

// Reading a picture of long_document's page back row by row.

#include "tests/support/LongDocument.h"

#include <QImage>
#include <QString>

#include <utility>
#include <vector>

namespace LongDocument {

// The row bands from the top of a picture of the page down, as (row,
// height): read right of the labels, a band the document does not have is -1.
inline std::vector<std::pair<int, int>> bands(const QImage& page)
{
    std::vector<std::pair<int, int>> found;
    const int x = page.width() / 2;
    for (int y = 0; y < page.height(); ++y) {
        const int row = rowOf(page.pixelColor(x, y)).value_or(-1);
        if (found.empty() || found.back().first != row)
            found.emplace_back(row, 0);
        ++found.back().second;
    }
    return found;
}

// What keeps `page` from being the whole document, every row once, in
// order, each exactly as tall as in the document, so that no seam repeats
// or loses a pixel; empty when nothing does.
inline QString notWhole(const QImage& page)
{
    const auto found = bands(page);
    int next = 0;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const auto [row, height] = found[i];
        if (row < 0)
            continue;
        if (row != next)
            return QStringLiteral("row %1 where row %2 belongs").arg(row).arg(next);
        ++next;
        const bool inner = i > 0 && i + 1 < found.size() && found[i - 1].first >= 0 && found[i + 1].first >= 0;
        if (inner && height != rowHeight)
            return QStringLiteral("row %1 is %2 pixels tall").arg(row).arg(height);
    }
    if (next != defaultRows)
        return QStringLiteral("%1 rows of %2").arg(next).arg(defaultRows);
    return {};
}

} // namespace LongDocument
