// Full-page captures, the picture side: window images of a made-up browser
// around a made-up page, scrolled by known amounts, must give back what
// scrolls and by how much, prove or refuse overlaps, and go back together
// only as far as a page may run. Whole pages, their fixed parts once, are the
// runs' (tst_page_run, tst_browser_page).
#include "capture/page/PageShots.h"
#include "capture/page/PageStitch.h"
#include "capture/page/PageWindow.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace {

// A page as a browser shows it: bands of colour holding lines of words, and
// faint noise, so that no two rows are alike.
QImage makePage(int width, int height, quint32 seed = 20260512)
{
    QImage page(width, height, QImage::Format_RGB32);
    QRandomGenerator random(seed);
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

// A browser window around the page: its bars on top, then the page's area
// with a fixed header, footer and side bar where asked for, the part that
// scrolls, and a scroll bar at the right whose thumb follows the page.
struct Browser {
    static constexpr QSize size {420, 360};
    static constexpr int barRows = 50;
    static constexpr int scrollBarColumns = 12;
    int headerRows = 0;
    int footerRows = 0;
    int sideColumns = 0;
    bool scrollBar = true;
    // Rows at the top of the page that the bars' shadow darkens.
    int shadowRows = 0;
    // Columns of one colour at either side of the page, and of the window's
    // frame around it.
    int plainMargin = 0;
    int frame = 0;

    QRect pageArea() const { return QRect(0, barRows, size.width(), size.height() - barRows); }
    QRect viewport() const
    {
        return QRect(QPoint(frame + sideColumns, barRows + headerRows),
            QPoint(size.width() - 1 - frame - (scrollBar ? scrollBarColumns : 0), size.height() - 1 - frame - footerRows));
    }
    QRect scrolling() const { return viewport().adjusted(0, shadowRows, 0, 0); }

    // Shows the page from row `offset` on.
    QImage show(const QImage& page, const QImage& fixedParts, int offset) const
    {
        QImage window = fixedParts.copy();
        const QRect content = viewport();
        for (int y = 0; y < content.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(window.scanLine(content.top() + y));
            std::memcpy(row + content.left(), page.constScanLine(offset + y) + content.left() * 4,
                std::size_t(content.width()) * 4);
            for (int x = 0; x < plainMargin; ++x)
                row[content.left() + x] = row[content.right() - x] = qRgb(255, 255, 255);
            for (int x = content.left(); y < shadowRows && x <= content.right(); ++x)
                row[x] = qRgb(qRed(row[x]) * (y + 1) / 8, qGreen(row[x]) * (y + 1) / 8, qBlue(row[x]));
        }
        if (scrollBar) {
            const int track = size.height() - barRows;
            // Rounded up, so that the thumb moves with the page, if only by a row.
            const int range = std::max(page.height() - content.height(), 1);
            const int thumbTop = barRows + (offset * (track - 40) + range - 1) / range;
            QPainter(&window).fillRect(size.width() - scrollBarColumns + 2, thumbTop, scrollBarColumns - 4, 40, QColor(90, 90, 90));
        }
        return window;
    }

    // Everything that does not scroll, each part unlike any other row.
    QImage fixedParts() const
    {
        QImage window = makePage(size.width(), size.height(), 7);
        QPainter painter(&window);
        const int bar = scrollBar ? scrollBarColumns : 0;
        painter.fillRect(size.width() - frame - bar, barRows, bar, size.height() - barRows, QColor(230, 230, 230));
        const QColor frameColour(200, 200, 200);
        painter.fillRect(0, 0, frame, size.height(), frameColour);
        painter.fillRect(size.width() - frame, 0, frame, size.height(), frameColour);
        painter.fillRect(0, size.height() - frame, size.width(), frame, frameColour);
        return window;
    }
};

QImage shotAt(const QImage& page, int top, int rows) { return page.copy(0, top, page.width(), rows); }

} // namespace

Q_DECLARE_METATYPE(Browser)
Q_DECLARE_METATYPE(std::optional<int>)

class PageStitchTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        page = makePage(Browser::size.width(), 5200);
        longPage = makePage(160, 21000);
    }

    void motionFindsWhatScrolls_data()
    {
        QTest::addColumn<Browser>("browser");
        QTest::addColumn<int>("rows");
        QTest::addRow("one row") << Browser {} << 1;
        QTest::addRow("a sticky header") << Browser {60} << 100;
        QTest::addRow("a fixed footer") << Browser {0, 45} << 100;
        QTest::addRow("a side bar") << Browser {0, 0, 90} << 100;
        QTest::addRow("all three, no scroll bar") << Browser {30, 30, 60, false} << 77;
        QTest::addRow("the bars' shadow over the page") << Browser {0, 0, 0, true, 6} << 120;
        QTest::addRow("the shadow, one row") << Browser {0, 0, 0, true, 6} << 1;
        QTest::addRow("plain margins in a window frame") << Browser {0, 0, 0, true, 0, 5, 2} << 90;
        QTest::addRow("plain margins, no scroll bar") << Browser {0, 0, 0, false, 0, 5, 2} << 90;
        QTest::addRow("plain margins, a window without a frame") << Browser {0, 0, 0, true, 0, 5, 0} << 90;
    }
    void motionFindsWhatScrolls()
    {
        QFETCH(Browser, browser);
        QFETCH(int, rows);
        const QImage fixed = browser.fixedParts();
        const std::optional<PageStitch::Motion> found =
            PageStitch::motion(browser.show(page, fixed, 0), browser.show(page, fixed, rows));
        QVERIFY(found);
        QCOMPARE(found->scrolling, browser.scrolling());
        QCOMPARE(found->rows, rows);
    }

    void noMotionWithoutScrolling_data()
    {
        QTest::addColumn<QImage>("before");
        QTest::addColumn<QImage>("after");
        const Browser browser;
        const QImage fixed = browser.fixedParts();
        const QImage shown = browser.show(page, fixed, 0);
        QImage caret = shown.copy();
        for (int y = 100; y < 118; ++y)
            caret.setPixel(200, y, qRgb(0, 0, 0));
        QImage other = shown.copy();
        const QImage elsewhere = browser.show(page, fixed, 2000);
        std::memcpy(other.scanLine(200), elsewhere.constScanLine(200), std::size_t(elsewhere.bytesPerLine()));
        QTest::addRow("a caret blinked") << shown << caret;
        QTest::addRow("one row became another") << shown << other;
        QTest::addRow("another size") << shown << shown.copy(0, 0, 100, 100);
    }
    void noMotionWithoutScrolling()
    {
        QFETCH(QImage, before);
        QFETCH(QImage, after);
        QVERIFY(!PageStitch::motion(before, after));
    }

    void shiftIsProvenOrNothing_data()
    {
        QTest::addColumn<QImage>("after");
        QTest::addColumn<int>("expected");
        QTest::addColumn<std::optional<int>>("shift");
        const QImage before = shotAt(page, 1000, 300);
        QTest::addRow("down") << shotAt(page, 1180, 300) << 100 << std::optional(180);
        QTest::addRow("up") << shotAt(page, 900, 300) << 0 << std::optional(-100);
        QTest::addRow("not at all") << before << 50 << std::optional(0);
        QTest::addRow("the least overlap") << shotAt(page, 1000 + 300 - PageStitch::minOverlapRows, 300) << 0
                                            << std::optional(300 - PageStitch::minOverlapRows);
        QTest::addRow("too little overlap") << shotAt(page, 1000 + 301 - PageStitch::minOverlapRows, 300) << 280
                                             << std::optional<int>();
        QTest::addRow("no overlap") << shotAt(page, 2000, 300) << 0 << std::optional<int>();
        QTest::addRow("one row off") << [&] {
            QImage changed = shotAt(page, 1100, 300).copy();
            changed.setPixel(5, 150, qRgb(1, 2, 3));
            return changed;
        }() << 100 << std::optional<int>();
    }
    void shiftIsProvenOrNothing()
    {
        QFETCH(QImage, after);
        QFETCH(int, expected);
        QFETCH(std::optional<int>, shift);
        const QImage before = shotAt(page, 1000, 300);
        QCOMPARE(PageStitch::shift(before, after, before.rect(), expected), shift);
    }

    void pageAreaTakesTheTreeWhereItAgrees()
    {
        const auto pageArea = [this](const Browser& browser, QRect webArea) {
            const QImage fixed = browser.fixedParts();
            return PageStitch::pageArea(
                browser.scrolling(), webArea, browser.show(page, fixed, 0), browser.show(page, fixed, 60));
        };
        // Where nothing moved beside what scrolls, all the web area is the page.
        QCOMPARE(pageArea(Browser {40, 30, 70, false}, Browser {}.pageArea()), Browser {}.pageArea());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("not where the page scrolls")));
        QCOMPARE(pageArea(Browser {}, QRect(0, 0, 200, 200)), Browser {}.scrolling());
    }

    void endsAtItsLimits_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("shotsAdded");
        QTest::addColumn<int>("pageRows");
        QTest::addRow("forty shots") << 300 << PageShots::maxShots - 1 << 800 + 39 * 300;
        QTest::addRow("twenty thousand rows") << 600 << 32 << PageShots::maxPageRows;
    }
    void endsAtItsLimits()
    {
        QFETCH(int, step);
        QFETCH(int, shotsAdded);
        QFETCH(int, pageRows);
        const int rows = 800;
        const QRect all(0, 0, longPage.width(), rows);
        PageShots run(shotAt(longPage, 0, rows), all, all);
        int added = 0;
        QImage last;
        for (bool more = true; more; ++added) {
            last = shotAt(longPage, step * (added + 1), rows);
            more = run.add(last, step);
        }
        QCOMPARE(added, shotsAdded);
        const QImage stitched = run.result(last).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(stitched, shotAt(longPage, 0, pageRows).convertToFormat(QImage::Format_RGB32));
    }

    void plainPictures()
    {
        QImage blank(300, 200, QImage::Format_RGB32);
        blank.fill(qRgb(0, 43, 54));
        // Where every shift fits, the expected one is taken.
        QCOMPARE(PageStitch::shift(blank, blank, blank.rect(), 77), std::optional(77));
        blank.setPixel(299, 199, qRgb(0, 43, 55));
        QVERIFY(!PageStitch::isOneColour(blank));
    }

    void windowChoice_data()
    {
        QTest::addColumn<QPoint>("pointer");
        QTest::addColumn<quint32>("chosen");
        // 1 and 3 belong to the program in front (3 by its id alone), 2 to another.
        QTest::addRow("under the pointer") << QPoint(650, 650) << 3u;
        QTest::addRow("the pointer on another program's window: the largest") << QPoint(450, 50) << 3u;
        QTest::addRow("the front window under the pointer") << QPoint(50, 50) << 1u;
    }
    void windowChoice()
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
    }

private:
    QImage page;
    // Narrow, and long enough to run into the limits.
    QImage longPage;
};

QTEST_MAIN(PageStitchTest)
#include "tst_page_stitch.moc"
