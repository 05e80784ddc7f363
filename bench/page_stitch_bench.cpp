// Proves the overlaps of a full-page capture of 40 shots of 1280 × 800, 440
// rows apart (a page of 17,960 rows), stitches them, and reports the time
// and the memory it takes.
// Goals: within 1 s, and a peak of at most 1.5 × the finished page.
//   build/bench/page_stitch_bench
#include "capture/page/PageShots.h"

#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <optional>

namespace {

constexpr int shotWidth = 1280;
constexpr int shotRows = 800;
constexpr int shotCount = PageShots::maxShots;
constexpr int stepRows = 440;
constexpr int pageRows = shotRows + (shotCount - 1) * stepRows;
constexpr int bandRows = 64;
constexpr int lineRows = 22;
constexpr int inkRows = 12;
constexpr int wordColumns = 24;

quint64 mixed(quint64 value)
{
    value += 0x9e3779b97f4a7c15ULL;
    value = (value ^ (value >> 30)) * 0xbf58476d1ce4e5b9ULL;
    value = (value ^ (value >> 27)) * 0x94d049bb133111ebULL;
    return value ^ (value >> 31);
}

// The page is a function of the place, so each shot is made when it is
// taken and the page itself never sits in memory: bands of colour, lines of
// words, and noise that sets every row apart.
QRgb pagePixel(int x, int y)
{
    const quint64 band = mixed(quint64(y / bandRows));
    const int line = y / lineRows;
    const bool ink = y % lineRows < inkRows && x % wordColumns < wordColumns - 6
        && (mixed(quint64(line) << 32 | quint64(x / wordColumns)) & 3) != 0;
    const int noise = int(mixed(quint64(y) << 32 | quint64(x)) & 7);
    if (ink)
        return qRgb(30 + noise, 30 + noise, 40 + noise);
    return qRgb(int(120 + band % 120) + noise, int(120 + (band >> 8) % 120) + noise, int(120 + (band >> 16) % 120) + noise);
}

QImage shotAt(int top)
{
    QImage shot(shotWidth, shotRows, QImage::Format_RGB32);
    for (int y = 0; y < shotRows; ++y) {
        auto* row = reinterpret_cast<QRgb*>(shot.scanLine(y));
        for (int x = 0; x < shotWidth; ++x)
            row[x] = pagePixel(x, top + y);
    }
    return shot;
}

// A figure of /proc/self/status in bytes ("VmRSS", "VmHWM").
qint64 statusBytes(const QByteArray& field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray label = field + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(label))
            return line.mid(field.size() + 1).trimmed().split(' ').front().toLongLong() * 1024;
    }
    return -1;
}

// Starts the peak resident size afresh from the present one.
bool resetPeak()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1 && clearRefs.flush();
}

bool matchesThePage(const QImage& page)
{
    for (int y = 0; y < page.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x) {
            if (row[x] != pagePixel(x, y))
                return false;
        }
    }
    return true;
}

double megabytes(qint64 bytes) { return double(bytes) / (1024.0 * 1024.0); }

} // namespace

int main()
{
    QImage first = shotAt(0);
    const bool peakReset = resetPeak();
    const qint64 residentBefore = statusBytes("VmRSS");

    QElapsedTimer timer;
    qint64 stitchingNs = 0;
    int shotsTaken = 1;
    timer.start();
    PageShots run(first, first.rect(), first.rect());
    stitchingNs += timer.nsecsElapsed();
    QImage shot = first;
    bool overlapsProven = true;
    for (bool more = true; more; ++shotsTaken) {
        const QImage previous = shot;
        shot = shotAt(shotsTaken * stepRows);
        timer.restart();
        const std::optional<int> rows = PageStitch::shift(previous, shot, shot.rect(), stepRows);
        overlapsProven = overlapsProven && rows == stepRows;
        more = run.add(shot, rows.value_or(stepRows));
        stitchingNs += timer.nsecsElapsed();
    }
    timer.restart();
    const QImage page = run.result(shot);
    stitchingNs += timer.nsecsElapsed();
    const qint64 peak = statusBytes("VmHWM") - residentBefore;

    if (page.isNull()) {
        std::fprintf(stderr, "Couldn't stitch that page.\n");
        return 1;
    }
    const qint64 pageBytes = page.sizeInBytes();
    std::printf("shots                  %d of %d x %d, %d rows apart\n", shotsTaken, shotWidth, shotRows, stepRows);
    std::printf("stitching              %.1f ms, overlaps %s (goal: within 1000 ms; making the shots is not\n"
                "                       counted)\n",
        double(stitchingNs) / 1e6, overlapsProven ? "all proven" : "NOT all proven");
    std::printf("page                   %d x %d, %lld bytes (%.1f MB), %s\n", page.width(), page.height(),
        static_cast<long long>(pageBytes), megabytes(pageBytes),
        page.height() == pageRows && matchesThePage(page) ? "pixel for pixel the page" : "NOT the page");
    std::printf("peak resident growth   %.1f MB: %s\n", megabytes(peak),
        peakReset ? "VmHWM, reset just before stitching, less VmRSS then"
                  : "VmHWM (could not be reset: an upper bound) less VmRSS before stitching");
    std::printf("                       counts the page, each new shot as it is made and handed in,\n"
                "                       and the work in between; not the first shot, which existed before\n");
    std::printf("peak / page            %.2f (goal: at most 1.5)\n", double(peak) / double(pageBytes));
    return 0;
}
