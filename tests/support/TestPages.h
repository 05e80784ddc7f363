#pragma once

// Web pages for the full-page tests, written into a folder: rows of one
// height, each a solid colour of its own between a magenta left edge and a
// cyan right edge, so a capture can be read back row by row and its edges
// checked to the pixel; with a sticky header, a fixed footer or a fixed side
// bar where asked for.

#include <QColor>
#include <QDir>
#include <QFile>
#include <QString>

#include <optional>

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

enum class Fixed { None, Header, Footer, SideBar };

struct Page {
    QString title;
    int rows = 200;
    Fixed fixed = Fixed::None;
};

// Two digits of the row number in base 16 in red and green; blue sets rows
// apart from everything else on the page.
inline constexpr int channelBase = 32;
inline constexpr int channelStep = 13;
inline constexpr int rowBlue = 170;

inline QColor rowColour(int row)
{
    return QColor(channelBase + (row % 16) * channelStep, channelBase + (row / 16 % 16) * channelStep, rowBlue);
}

inline std::optional<int> rowOf(QColor colour)
{
    const int red = colour.red() - channelBase;
    const int green = colour.green() - channelBase;
    if (colour.blue() != rowBlue || red < 0 || green < 0 || red % channelStep || green % channelStep
        || red / channelStep >= 16 || green / channelStep >= 16)
        return std::nullopt;
    return green / channelStep * 16 + red / channelStep;
}

// Writes the page into `folder`; its file:// address.
inline QString write(const QDir& folder, const Page& page)
{
    QString body;
    QString style = QStringLiteral("html,body{margin:0;padding:0;background:#fff}"
                                   ".row{box-sizing:border-box;height:%1px;border-left:%2px solid %3;"
                                   "border-right:%2px solid %4}")
                        .arg(rowHeight)
                        .arg(edgeWidth)
                        .arg(leftEdge.name(), rightEdge.name());
    switch (page.fixed) {
    case Fixed::None:
        break;
    case Fixed::Header:
        style += QStringLiteral("header{position:sticky;top:0;height:%1px;background:%2}").arg(headerHeight).arg(header.name());
        body += QStringLiteral("<header></header>");
        break;
    case Fixed::Footer:
        style += QStringLiteral("footer{position:fixed;left:0;right:0;bottom:0;height:%1px;background:%2}"
                                "body{padding-bottom:%1px}")
                     .arg(footerHeight)
                     .arg(footer.name());
        break;
    case Fixed::SideBar:
        style += QStringLiteral("nav{position:fixed;left:0;top:0;bottom:0;width:%1px;background:%2}"
                                "main{margin-left:%1px}")
                     .arg(sideBarWidth)
                     .arg(sideBar.name());
        body += QStringLiteral("<nav></nav>");
        break;
    }
    body += QStringLiteral("<main>");
    for (int row = 0; row < page.rows; ++row)
        body += QStringLiteral("<div class=\"row\" style=\"background:%1\"></div>").arg(rowColour(row).name());
    body += QStringLiteral("</main>");
    if (page.fixed == Fixed::Footer)
        body += QStringLiteral("<footer></footer>");
    const QString html = QStringLiteral("<!doctype html><html><head><meta charset=\"utf-8\"><title>%1</title>"
                                        "<style>%2</style></head><body>%3</body></html>")
                             .arg(page.title, style, body);
    const QString path = folder.filePath(page.title + QStringLiteral(".html"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(html.toUtf8()) < 0)
        return {};
    return QStringLiteral("file://") + path;
}

} // namespace TestPages
