// Full-page captures, the picture side: shots cut from a made-up page at
// known offsets must go back together into exactly that page, whether
// joined at once or stitched while scrolling, and the run must stop where
// the page, the scroll bar or the limits say so.
#include "capture/page/PageShots.h"
#include "capture/page/PageStitch.h"
#include "capture/page/PageWindow.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <numeric>
#include <optional>
#include <vector>

namespace {

constexpr int shotRows = 800;

// A page as a browser shows it: bands of colour holding lines of words, and
// faint noise, so that no two rows are alike.
QImage makePage(int width, int height)
{
    QImage page(width, height, QImage::Format_RGB32);
    QRandomGenerator random(20260512);
    std::vector<bool> ink(std::size_t(width), false);
    QRgb background = 0;
    for (int y = 0, bandEnd = 0; y < height; ++y) {
        if (y == bandEnd) {
            bandEnd += random.bounded(40, 120);
            background = qRgb(random.bounded(120, 248), random.bounded(120, 248), random.bounded(120, 248));
        }
        const int lineRow = y % 22;
        if (lineRow == 0) {
            std::fill(ink.begin(), ink.end(), false);
            for (int x = random.bounded(8, 40); x < width - 8; x += random.bounded(4, 14)) {
                const int end = std::min(x + random.bounded(4, 40), width);
                std::fill(ink.begin() + x, ink.begin() + end, true);
                x = end;
            }
        }
        auto* row = reinterpret_cast<QRgb*>(page.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb base = lineRow < 12 && ink[std::size_t(x)] ? qRgb(30, 30, 40) : background;
            const int noise = random.bounded(8);
            row[x] = qRgb(qRed(base) + noise, qGreen(base) + noise / 2, qBlue(base) + 7 - noise);
        }
    }
    return page;
}

QImage shotAt(const QImage& page, int top, int rows = shotRows) { return page.copy(0, top, page.width(), rows); }

std::vector<QImage> shotsAt(const QImage& page, const QList<int>& steps, int rows)
{
    std::vector<QImage> shots {shotAt(page, 0, rows)};
    int top = 0;
    for (const int step : steps)
        shots.push_back(shotAt(page, top += step, rows));
    return shots;
}

QImage stitchWhileScrolling(const std::vector<QImage>& shots)
{
    PageShots run(shots.front());
    for (std::size_t i = 1; i < shots.size(); ++i) {
        if (run.add(shots[i], std::nullopt) != PageShots::Next::ScrollAgain)
            return {};
    }
    return run.result();
}

} // namespace

class PageStitchTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void rebuildsThePage_data();
    void rebuildsThePage();
    void shortShotsAddHalfTheirHeight_data();
    void shortShotsAddHalfTheirHeight();
    void overlapSearch_data();
    void overlapSearch();
    void stopsWhereThePageDoes_data();
    void stopsWhereThePageDoes();
    void endsAtItsLimits_data();
    void endsAtItsLimits();
    void fingerprint_data();
    void fingerprint();
    void similarity_data();
    void similarity();
    void contentCrop_data();
    void contentCrop();
    void windowChoice_data();
    void windowChoice();

private:
    QImage page;
    // Narrow, and long enough to run into the limits.
    QImage longPage;
    // Pixels of a picture with padded rows, alive as long as the picture.
    std::vector<uchar> paddedPixels;
};

void PageStitchTest::initTestCase()
{
    page = makePage(1280, 5200);
    longPage = makePage(160, 21000);
}

void PageStitchTest::rebuildsThePage_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QList<int>>("steps");
    QTest::addRow("steps of 300 to 600 rows") << shotRows << QList<int> {300, 444, 597, 512, 333, 600, 480, 371};
    QTest::addRow("steps of 440 rows") << shotRows << QList<int> {440, 440, 440, 440, 440};
    QTest::addRow("steps at both ends of the search") << shotRows << QList<int> {24, 704, 30, 690, 45, 703};
    QTest::addRow("shots of 300 rows") << 300 << QList<int> {100, 250, 37, 199, 264};
}

void PageStitchTest::rebuildsThePage()
{
    QFETCH(int, rows);
    QFETCH(QList<int>, steps);
    const std::vector<QImage> shots = shotsAt(page, steps, rows);
    const QImage expected = shotAt(page, 0, rows + std::accumulate(steps.begin(), steps.end(), 0));
    QCOMPARE(stitchWhileScrolling(shots), expected);
}

void PageStitchTest::shortShotsAddHalfTheirHeight_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("pieceRows");
    QTest::addColumn<int>("pageRows");
    QTest::addRow("40 rows") << 40 << 24 << 40 + 24 + 24;
    QTest::addRow("30 rows") << 30 << 24 << 30 + 24 + 24;
    // A piece is never more than its shot: the page keeps a blank gap.
    QTest::addRow("12 rows") << 12 << 12 << 12 + 24 + 24;
}

void PageStitchTest::shortShotsAddHalfTheirHeight()
{
    QFETCH(int, rows);
    QFETCH(int, pieceRows);
    QFETCH(int, pageRows);
    const std::vector<QImage> shots = shotsAt(page, {7, 9}, rows);
    const QImage joined = stitchWhileScrolling(shots);
    QCOMPARE(joined.height(), pageRows);
    QCOMPARE(joined.copy(0, rows, page.width(), pieceRows), shots[1].copy(0, rows - pieceRows, page.width(), pieceRows));
}

void PageStitchTest::overlapSearch_data()
{
    QTest::addColumn<QImage>("previous");
    QTest::addColumn<QImage>("next");
    QTest::addColumn<int>("newRows");
    QImage white(1280, shotRows, QImage::Format_RGB32);
    white.fill(Qt::white);
    QImage black(1280, shotRows, QImage::Format_RGB32);
    black.fill(Qt::black);
    QTest::addRow("unrelated pictures add half") << white << black << shotRows / 2;
    QTest::addRow("12.5 %% overlap is a scroll") << shotAt(page, 0) << shotAt(page, 700) << 700;
    QTest::addRow("11 %% overlap adds half") << shotAt(page, 0) << shotAt(page, 712) << shotRows / 2;
    QTest::addRow("too short to search") << shotAt(page, 0, 40) << shotAt(page, 1, 40) << 24;
}

void PageStitchTest::overlapSearch()
{
    QFETCH(QImage, previous);
    QFETCH(QImage, next);
    QTEST(PageStitch::newRows(previous, next), "newRows");
}

void PageStitchTest::stopsWhereThePageDoes_data()
{
    QTest::addColumn<QImage>("second");
    QTest::addColumn<std::optional<double>>("firstFraction");
    QTest::addColumn<std::optional<double>>("fraction");
    QTest::addColumn<PageShots::Next>("next");
    QTest::addColumn<int>("shotsKept");
    const QImage scrolled = shotAt(page, 400);
    QImage newBottom = shotAt(page, 0);
    QPainter(&newBottom).drawImage(QPoint(0, shotRows / 2), shotAt(page, 2000));
    using Next = PageShots::Next;
    QTest::addRow("the page did not move") << shotAt(page, 0) << std::optional(0.5) << std::optional(0.6) << Next::Done << 1;
    QTest::addRow("only below a fixed top moved") << newBottom << std::optional<double>() << std::optional<double>() << Next::Done << 1;
    QTest::addRow("the scroll bar stood still") << scrolled << std::optional(0.5) << std::optional(0.503) << Next::Done << 1;
    QTest::addRow("the scroll bar reached the end") << scrolled << std::optional(0.5) << std::optional(0.97) << Next::Done << 2;
    QTest::addRow("the scroll bar moved") << scrolled << std::optional(0.5) << std::optional(0.51) << Next::ScrollAgain << 2;
    QTest::addRow("no first scroll bar position") << scrolled << std::optional<double>() << std::optional(0.501) << Next::ScrollAgain << 2;
    QTest::addRow("no scroll bar position") << scrolled << std::optional(0.5) << std::optional<double>() << Next::ScrollAgain << 2;
}

void PageStitchTest::stopsWhereThePageDoes()
{
    QFETCH(QImage, second);
    QFETCH(std::optional<double>, firstFraction);
    QFETCH(std::optional<double>, fraction);
    QFETCH(int, shotsKept);
    const QImage first = shotAt(page, 0);
    PageShots run(first, firstFraction);
    QTEST(run.add(second, fraction), "next");
    QCOMPARE(run.result(), shotsKept == 1 ? first : shotAt(page, 0, shotRows + 400));
}

void PageStitchTest::endsAtItsLimits_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("shotsAdded");
    QTest::addColumn<int>("pageRows");
    QTest::addRow("forty shots") << 300 << PageShots::maxShots - 1 << shotRows + 39 * 300;
    // 800 + 32 × 600 rows fill the page exactly; the next piece goes flush
    // with its bottom.
    QTest::addRow("twenty thousand rows") << 600 << 33 << PageShots::maxPageRows;
}

void PageStitchTest::endsAtItsLimits()
{
    QFETCH(int, step);
    QFETCH(int, shotsAdded);
    QFETCH(int, pageRows);
    std::vector<QImage> shots {shotAt(longPage, 0)};
    PageShots run(shots.front());
    PageShots::Next next = PageShots::Next::ScrollAgain;
    while (next == PageShots::Next::ScrollAgain && int(shots.size()) <= PageShots::maxShots) {
        shots.push_back(shotAt(longPage, step * int(shots.size())));
        next = run.add(shots.back(), std::nullopt);
    }
    QCOMPARE(int(shots.size()) - 1, shotsAdded);
    QCOMPARE(run.add(shotAt(longPage, step * int(shots.size())), std::nullopt), PageShots::Next::Done);
    const QImage stitched = run.result();
    QCOMPARE(stitched.height(), pageRows);
    const int width = longPage.width();
    QCOMPARE(stitched.copy(0, 0, width, pageRows - step), shotAt(longPage, 0, pageRows - step));
    QCOMPARE(stitched.copy(0, pageRows - step, width, step), shots.back().copy(0, shotRows - step, width, step));
}

void PageStitchTest::fingerprint_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<quint64>("fingerprint");
    // Red is 10 × the pixel's index: pixels 0, 6 and 12 count.
    QImage counted(5, 3, QImage::Format_RGB32);
    for (int i = 0; i < 15; ++i)
        counted.setPixel(i % 5, i / 5, qRgb(10 * i, 255 - i, 3 * i));
    constexpr qsizetype paddedRowBytes = 5 * 4 + 8;
    paddedPixels.assign(std::size_t(paddedRowBytes * 3), 0xee);
    QImage padded(paddedPixels.data(), 5, 3, paddedRowBytes, QImage::Format_RGBA8888_Premultiplied);
    QPainter(&padded).drawImage(0, 0, counted);
    QImage twoPixels(2, 1, QImage::Format_RGB32);
    twoPixels.fill(qRgb(200, 1, 2));

    QTest::addRow("no picture") << QImage() << quint64(0);
    QTest::addRow("fewer than five bytes") << QImage(1, 1, QImage::Format_RGB32) << quint64(0x14650fb0739d0383);
    QTest::addRow("two pixels") << twoPixels << quint64(0x44bcf3d473cc9871);
    QTest::addRow("five by three") << counted << quint64(0xa96cd54f3ab49945);
    QTest::addRow("five by three, padded rows") << padded << quint64(0xa96cd54f3ab49945);
}

void PageStitchTest::fingerprint()
{
    QFETCH(QImage, image);
    QTEST(PageStitch::fingerprint(image), "fingerprint");
}

void PageStitchTest::similarity_data()
{
    QTest::addColumn<QImage>("a");
    QTest::addColumn<QImage>("b");
    QTest::addColumn<bool>("nearlyEqual");
    QTest::addColumn<bool>("topSimilar");
    const QImage shot = shotAt(page, 0);
    QImage newBottom = shot.copy();
    QPainter(&newBottom).drawImage(QPoint(0, shotRows / 2), shotAt(page, 3000));
    const QImage small = shotAt(page, 0, 40).copy(0, 0, 40, 40);
    QTest::addRow("the same shot") << shot << shot << true << true;
    QTest::addRow("scrolled by 300 rows") << shot << shotAt(page, 300) << false << false;
    QTest::addRow("scrolled by 3 rows") << shot << shotAt(page, 3) << false << false;
    QTest::addRow("a new bottom half") << shot << newBottom << false << true;
    QTest::addRow("ten rows shorter") << shot << shotAt(page, 0, shotRows - 10) << false << true;
    QTest::addRow("too small for tops") << small << small << true << false;
}

void PageStitchTest::similarity()
{
    QFETCH(QImage, a);
    QFETCH(QImage, b);
    QTEST(PageStitch::nearlyEqual(a, b), "nearlyEqual");
    QTEST(PageStitch::topSimilar(a, b), "topSimilar");
}

void PageStitchTest::contentCrop_data()
{
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<std::optional<QRect>>("webArea");
    QTest::addColumn<QSize>("imageSize");
    QTest::addColumn<QRect>("crop");
    const QRect frame(100, 50, 1000, 800);
    const QRect web(100, 130, 1000, 700);
    // 96 rows of toolbars, 40 of status bar and 16 columns of edge; then 18
    // columns of scroll bar and 4.5 % of bottom overlay, rounded outwards.
    QTest::addRow("no web area") << frame << std::optional<QRect>() << frame.size() << QRect(34, 96, 932, 635);
    QTest::addRow("web area") << frame << std::optional(web) << frame.size() << QRect(18, 80, 964, 669);
    QTest::addRow("web area, twice the pixels") << frame << std::optional(web) << frame.size() * 2 << QRect(36, 160, 1928, 1337);
    QTest::addRow("web area past the window") << frame << std::optional(web.adjusted(0, 0, 200, 0)) << frame.size() << QRect(18, 80, 964, 669);
    QTest::addRow("web area too narrow") << frame << std::optional(QRect(100, 130, 80, 700)) << frame.size() << QRect(34, 96, 932, 635);
    QTest::addRow("tiny window") << QRect(0, 0, 82, 82) << std::optional<QRect>() << QSize(82, 82) << QRect(0, 0, 82, 82);
}

void PageStitchTest::contentCrop()
{
    QFETCH(QRect, frame);
    QFETCH(std::optional<QRect>, webArea);
    QFETCH(QSize, imageSize);
    QTEST(PageStitch::contentCrop(frame, webArea, imageSize), "crop");
}

void PageStitchTest::windowChoice_data()
{
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<quint32>("chosen");
    // 1 and 3 belong to the program in front (3 by its id alone), 2 to another.
    QTest::addRow("under the pointer") << QPoint(650, 650) << 3u;
    QTest::addRow("the pointer on another program's window: the largest") << QPoint(450, 50) << 3u;
    QTest::addRow("the front window under the pointer") << QPoint(50, 50) << 1u;
}

void PageStitchTest::windowChoice()
{
    QFETCH(QPoint, pointer);
    QFETCH(quint32, chosen);
    const auto window = [](quint32 id, QRect frame, qint64 pid, const char* program) {
        return CaptureWindow {id, frame, QString(), QString(), QString::fromLatin1(program), pid, true, false};
    };
    const std::vector<CaptureWindow> targets {
        window(1, QRect(0, 0, 300, 300), 10, "browser"),
        window(2, QRect(400, 0, 900, 900), 20, "editor"),
        window(3, QRect(500, 500, 400, 400), 30, "browser"),
    };
    QCOMPARE(PageWindow::choose(targets, pointer)->id, chosen);
    QVERIFY(!PageWindow::choose({}, pointer));
}

QTEST_MAIN(PageStitchTest)
#include "tst_page_stitch.moc"
