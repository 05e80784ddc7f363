#include "ui/thumbnails/PdfPages.h"

#include <poppler/qt6/poppler-qt6.h>

#include <QCoreApplication>
#include <QPainter>

#include <algorithm>
#include <memory>

namespace {

constexpr double pointsPerInch = 72.0;

struct Opened {
    std::unique_ptr<Poppler::Document> document;
    QString problem;
};

Opened open(const QString& path)
{
    std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
    if (!document)
        return {nullptr, QCoreApplication::translate("PdfPages", "This PDF cannot be read: the file is damaged or not a PDF.")};
    if (document->isLocked())
        return {nullptr, QCoreApplication::translate("PdfPages", "This PDF is locked with a password.")};
    if (document->numPages() < 1)
        return {nullptr, QCoreApplication::translate("PdfPages", "This PDF has no pages.")};
    document->setRenderHint(Poppler::Document::Antialiasing);
    document->setRenderHint(Poppler::Document::TextAntialiasing);
    return {std::move(document), QString()};
}

// Draws `page` so that its longer side (or its width alone) takes `pixels`.
QImage draw(const Poppler::Page& page, int pixels, bool byWidthOnly)
{
    const QSizeF points = page.pageSizeF();
    const double along = byWidthOnly ? points.width() : std::max(points.width(), points.height());
    if (along <= 0)
        return {};
    const double dpi = pointsPerInch * pixels / along;
    QImage image = page.renderToImage(dpi, dpi);
    // Transparent page backgrounds would show the window through.
    if (image.hasAlphaChannel()) {
        QImage opaque(image.size(), QImage::Format_RGB32);
        opaque.fill(Qt::white);
        QPainter(&opaque).drawImage(0, 0, image);
        return opaque;
    }
    return image;
}

} // namespace

namespace PdfPages {

Rendered render(const QString& path, int width, int count)
{
    Opened opened = open(path);
    if (!opened.document)
        return {{}, opened.problem};
    Rendered rendered;
    const int pages = std::min(count, opened.document->numPages());
    for (int index = 0; index < pages; ++index) {
        const std::unique_ptr<Poppler::Page> page = opened.document->page(index);
        if (QImage image = page ? draw(*page, width, true) : QImage(); !image.isNull())
            rendered.pages.append(std::move(image));
    }
    if (rendered.pages.isEmpty())
        rendered.problem = QCoreApplication::translate("PdfPages", "This PDF cannot be read: its pages could not be drawn.");
    return rendered;
}

QImage first(const QString& path, int side)
{
    const Opened opened = open(path);
    if (!opened.document)
        return {};
    const std::unique_ptr<Poppler::Page> page = opened.document->page(0);
    return page ? draw(*page, side, false) : QImage();
}

} // namespace PdfPages
