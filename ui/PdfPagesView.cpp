#include "ui/PdfPagesView.h"

#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>

namespace {

// Matches the preview window's content width, less its margins and the scroll bar.
constexpr int typicalWidth = 680;
constexpr int pageGap = 12;

} // namespace

// The pages stacked at the sheet's width; its height follows from theirs.
class PdfPagesView::Sheet final : public QWidget {
public:
    using QWidget::QWidget;

    QList<QImage> pages;

    int heightFor(int width) const
    {
        int height = 0;
        for (const QImage& page : pages)
            height += page.width() > 0 ? page.height() * width / page.width() + pageGap : 0;
        return std::max(0, height - pageGap);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        int top = 0;
        for (const QImage& page : pages) {
            if (page.width() <= 0)
                continue;
            const QRect target(0, top, width(), page.height() * width() / page.width());
            if (target.intersects(event->rect()))
                painter.drawImage(target, page);
            top = target.bottom() + 1 + pageGap;
        }
    }
};

int PdfPagesView::renderWidth(qreal devicePixelRatio) { return int(typicalWidth * devicePixelRatio); }

PdfPagesView::PdfPagesView(QWidget* parent) : QScrollArea(parent), sheet_(new Sheet(this))
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWidgetResizable(false);
    setWidget(sheet_);
    viewport()->setAutoFillBackground(false);
    sheet_->setAutoFillBackground(false);
}

void PdfPagesView::setPages(QList<QImage> pages)
{
    sheet_->pages = std::move(pages);
    sheet_->resize(viewport()->width(), sheet_->heightFor(viewport()->width()));
    verticalScrollBar()->setValue(0);
    sheet_->update();
}

int PdfPagesView::pageCount() const { return int(sheet_->pages.size()); }

void PdfPagesView::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    sheet_->resize(viewport()->width(), sheet_->heightFor(viewport()->width()));
}
