#pragma once

#include <QImage>
#include <QList>
#include <QString>

// The pages of a PDF as pictures, drawn by Poppler. Safe to call off the GUI
// thread: each call opens the document for itself.
namespace PdfPages {

struct Rendered {
    QList<QImage> pages;
    // Why there are no pages, in words for the user; empty when there are.
    QString problem;
};

// The first `count` pages (fewer when the document is shorter), each
// `width` pixels wide.
Rendered render(const QString& path, int width, int count);
// The first page fitted into a square of `side` pixels; null when the file
// cannot be read.
QImage first(const QString& path, int side);

} // namespace PdfPages
