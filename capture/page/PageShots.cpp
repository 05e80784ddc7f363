#include "capture/page/PageShots.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

#include <sys/mman.h>
#include <unistd.h>

namespace {

// Less movement of the scroll bar than this is none: the page is at its end.
constexpr double stillFraction = 0.004;
constexpr double endFraction = 0.97;

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

PageShots::PageShots(QImage first, std::optional<double> firstFraction)
    : last_(std::move(first))
    , previousFraction_(firstFraction.value_or(-1))
{
    // Address space for the longest page; pages of it that are never
    // written cost no memory.
    const qsizetype bytesPerLine = qsizetype(last_.width()) * 4;
    reservedBytes_ = std::size_t(bytesPerLine) * maxPageRows;
    void* memory = last_.isNull()
        ? MAP_FAILED
        : mmap(nullptr, reservedBytes_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (memory == MAP_FAILED) {
        reservedBytes_ = 0;
        done_ = true;
        return;
    }
    memory_ = static_cast<uchar*>(memory);
    canvas_ = QImage(memory_, last_.width(), maxPageRows, bytesPerLine, PageStitch::canvasFormat(last_));
    pageRows_ = last_.height();
    filledRows_ = PageStitch::appendPiece(canvas_, 0, last_, last_.height());
}

PageShots::~PageShots()
{
    if (memory_)
        munmap(memory_, reservedBytes_);
}

PageShots::Next PageShots::add(const QImage& shot, std::optional<double> scrollFraction)
{
    if (done_)
        return Next::Done;
    const bool scrollBarStill = scrollFraction && previousFraction_ >= 0 && std::abs(*scrollFraction - previousFraction_) < stillFraction;
    if (scrollBarStill || PageStitch::nearlyEqual(last_, shot) || PageStitch::topSimilar(last_, shot))
        return finish();

    const int rows = PageStitch::newRows(last_, shot);
    pageRows_ += rows;
    filledRows_ = PageStitch::appendPiece(canvas_, filledRows_, shot, rows);
    last_ = shot;
    if (pageRows_ > maxPageRows || (scrollFraction && *scrollFraction >= endFraction))
        return finish();

    ++shotsAdded_;
    if (scrollFraction)
        previousFraction_ = *scrollFraction;
    return shotsAdded_ == maxShots - 1 ? finish() : Next::ScrollAgain;
}

PageShots::Next PageShots::finish()
{
    done_ = true;
    return Next::Done;
}

QImage PageShots::result()
{
    done_ = true;
    if (!memory_)
        return {};
    const int rows = std::min(pageRows_, maxPageRows);
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
