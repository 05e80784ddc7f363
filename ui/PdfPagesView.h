#pragma once

#include <QImage>
#include <QList>
#include <QScrollArea>

// The first pages of a PDF, one under the other at the width of the view,
// scrolled vertically.
class PdfPagesView final : public QScrollArea {
    Q_OBJECT
public:
    // The width pages are best drawn at for this view, in device pixels.
    static int renderWidth(qreal devicePixelRatio);

    explicit PdfPagesView(QWidget* parent = nullptr);

    void setPages(QList<QImage> pages);
    int pageCount() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    class Sheet;
    Sheet* sheet_;
};
