#pragma once

// Web pages for the full-page tests, written into a folder: rows of one
// height, each a solid colour of its own (long_document's, so that one
// reading serves both) between a magenta left edge and a cyan right edge, so
// a capture can be read back row by row and its edges checked to the pixel;
// with a sticky header, a fixed footer and a fixed side bar where asked for.

#include "tests/support/LongDocument.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QString>

namespace TestPages {

inline constexpr int rowHeight = 40;
inline constexpr int edgeWidth = 4;
inline constexpr int headerHeight = 60;
inline constexpr int footerHeight = 50;
inline constexpr int sideBarWidth = 120;
inline const QColor leftEdge(255, 0, 255);
inline const QColor rightEdge(0, 255, 255);
inline const QColor header(250, 200, 0);
inline const QColor footer(120, 0, 200);
inline const QColor sideBar(0, 120, 60);

// The parts of a page that stay while it scrolls, any of them together.
enum Fixed { None = 0, Header = 1, Footer = 2, SideBar = 4, All = Header | Footer | SideBar };

struct Page {
    QString title;
    int rows = 200;
    int fixed = None;
    // The row the browser opens the page at, as if the user had scrolled
    // down to it.
    int shownFrom = 0;
};

// Writes the page into `folder`; its file:// address.
inline QString write(const QDir& folder, const Page& page)
{
    QString style = QStringLiteral("html,body{margin:0;padding:0;background:#fff}"
                                   ".row{box-sizing:border-box;height:%1px;border-left:%2px solid %3;"
                                   "border-right:%2px solid %4}")
                        .arg(rowHeight)
                        .arg(edgeWidth)
                        .arg(leftEdge.name(), rightEdge.name());
    QString body;
    if (page.fixed & Header) {
        style += QStringLiteral("header{position:sticky;top:0;height:%1px;background:%2}").arg(headerHeight).arg(header.name());
        body += QStringLiteral("<header></header>");
    }
    if (page.fixed & SideBar) {
        style += QStringLiteral("nav{position:fixed;left:0;top:0;bottom:0;width:%1px;background:%2}"
                                "main{margin-left:%1px}")
                     .arg(sideBarWidth)
                     .arg(sideBar.name());
        body += QStringLiteral("<nav></nav>");
    }
    body += QStringLiteral("<main>");
    for (int row = 0; row < page.rows; ++row) {
        body += QStringLiteral("<div class=\"row\"%1 style=\"background:%2\"></div>")
                    .arg(page.shownFrom > 0 && row == page.shownFrom ? QStringLiteral(" id=\"shown\"") : QString(), LongDocument::rowColour(row).name());
    }
    body += QStringLiteral("</main>");
    if (page.fixed & Footer) {
        style += QStringLiteral("footer{position:fixed;left:0;right:0;bottom:0;height:%1px;background:%2}"
                                "body{padding-bottom:%1px}")
                     .arg(footerHeight)
                     .arg(footer.name());
        body += QStringLiteral("<footer></footer>");
    }
    const QString html = QStringLiteral("<!doctype html><html><head><meta charset=\"utf-8\"><title>%1</title>"
                                        "<style>%2</style></head><body>%3</body></html>")
                             .arg(page.title, style, body);
    const QString path = folder.filePath(page.title + QStringLiteral(".html"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(html.toUtf8()) < 0)
        return {};
    return QStringLiteral("file://") + path + (page.shownFrom > 0 ? QStringLiteral("#shown") : QString());
}

} // namespace TestPages
