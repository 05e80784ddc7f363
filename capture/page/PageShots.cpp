#include "capture/page/PageShots.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include <sys/mman.h>
#include <unistd.h>

namespace {

// What the page's QImage needs to give its memory back with its last copy.
struct Mapping {
    void* address = nullptr;
    std::size_t bytes = 0;
};

void unmapPage(void* info)
{
    const std::unique_ptr<Mapping> mapping(static_cast<Mapping*>(info));
    munmap(mapping->address, mapping->bytes);
}

std::size_t wholePages(std::size_t bytes)
{
    const auto pageBytes = std::size_t(sysconf(_SC_PAGESIZE));
    return (bytes + pageBytes - 1) / pageBytes * pageBytes;
}

} // namespace

PageShots::PageShots(const QImage& first, const QRect& page, const QRect& scrolling)
    : page_(page & first.rect())
    , scrolling_(scrolling & page_)
{
    if (first.isNull() || scrolling_.isEmpty())
        return;
    // Address space for the longest page; pages of it that are never
    // written cost no memory, and read as transparent.
    const qsizetype bytesPerLine = qsizetype(page_.width()) * 4;
    reservedBytes_ = std::size_t(bytesPerLine) * maxPageRows;
    void* memory =
        mmap(nullptr, reservedBytes_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (memory == MAP_FAILED) {
        reservedBytes_ = 0;
        return;
    }
    memory_ = static_cast<uchar*>(memory);
    // Opaque where every column of the page scrolls, which makes a smaller file.
    const bool sides = scrolling_.left() > page_.left() || scrolling_.right() < page_.right();
    canvas_ = QImage(memory_, page_.width(), maxPageRows, bytesPerLine,
        sides ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    // The header, the side bars and the first screen of what scrolls.
    write(first, QRect(QPoint(page_.left(), page_.top()), QPoint(page_.right(), scrolling_.bottom())), 0, 0);
}

PageShots::~PageShots()
{
    if (memory_)
        munmap(memory_, reservedBytes_);
}

void PageShots::write(const QImage& image, const QRect& from, int atRow, int atColumn)
{
    const QImage source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int rows = std::min(from.height(), canvas_.height() - atRow);
    const std::size_t rowBytes = std::size_t(from.width()) * 4;
    for (int row = 0; row < rows; ++row) {
        std::memcpy(canvas_.scanLine(atRow + row) + qsizetype(atColumn) * 4,
            source.constScanLine(from.top() + row) + qsizetype(from.left()) * 4, rowBytes);
    }
    filledRows_ = std::max(filledRows_, atRow + rows);
}

bool PageShots::add(const QImage& image, int rows)
{
    if (canvas_.isNull() || !image.rect().contains(scrolling_))
        return false;
    const int pieceRows = std::min({rows, scrolling_.height(), maxPageRows - filledRows_});
    if (pieceRows <= 0)
        return false;
    const QRect piece(scrolling_.left(), scrolling_.bottom() + 1 - pieceRows, scrolling_.width(), pieceRows);
    write(image, piece, filledRows_, scrolling_.left() - page_.left());
    ++shots_;
    return filledRows_ < maxPageRows && shots_ < maxShots;
}

QImage PageShots::result(const QImage& last)
{
    if (!memory_)
        return {};
    // The footer, flush with the bottom of a page that is full.
    const QRect footer(QPoint(page_.left(), scrolling_.bottom() + 1), QPoint(page_.right(), page_.bottom()));
    if (!footer.isEmpty() && last.rect().contains(footer))
        write(last, footer, std::min(filledRows_, maxPageRows - footer.height()), 0);
    const int rows = filledRows_;
    const std::size_t keptBytes = wholePages(std::size_t(rows) * std::size_t(canvas_.bytesPerLine()));
    if (keptBytes < reservedBytes_)
        munmap(memory_ + keptBytes, reservedBytes_ - keptBytes);
    QImage page(memory_, canvas_.width(), rows, canvas_.bytesPerLine(), canvas_.format(), unmapPage,
        std::make_unique<Mapping>(Mapping {memory_, keptBytes}).release());
    canvas_ = QImage();
    memory_ = nullptr;
    reservedBytes_ = 0;
    return page;
}
