// Full page in the browsers people run: generated pages opened in the real
// Chromium and Firefox ESR, captured end to end, and the PNG read back row
// by row against the page: every row once, in order, as tall as it is,
// between its own two edges, with no browser bar or scroll bar, and a fixed
// header, footer and side bar once. A page that does not scroll is the page
// alone, as the window shows it. The browser starts after Dropwell (the
// accessibility switch is on for it, and Chromium is told to follow it) or
// before (the switch was off when it started).
#include "tests/support/Awaited.h"
#include "tests/support/BrowserProcess.h"
#include "tests/support/RealCaptureRun.h"
#include "tests/support/TestPages.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WindowManager.h"

#include <QCursor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDir>
#include <QTest>

using TestPages::Fixed;

namespace {

bool switchAccessibility(bool on)
{
    QDBusMessage set = QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"));
    set << QStringLiteral("org.a11y.Status") << QStringLiteral("IsEnabled") << QVariant::fromValue(QDBusVariant(on));
    return QDBusConnection::sessionBus().call(set).type() == QDBusMessage::ReplyMessage;
}

// What a pixel of the capture shows, where it is no row of the page.
enum Part { Header = -1, Footer = -2, SideBar = -3, Other = -4, Undrawn = -5 };

// The bands of the capture from the top down in column x, as (part or row
// number, height).
std::vector<std::pair<int, int>> bands(const QImage& picture, int x)
{
    return LongDocument::bands(picture, x, [](QRgb pixel) {
        const QColor colour(pixel);
        if (qAlpha(pixel) == 0)
            return int(Undrawn);
        if (colour == TestPages::header)
            return int(Header);
        if (colour == TestPages::footer)
            return int(Footer);
        if (colour == TestPages::sideBar)
            return int(SideBar);
        return LongDocument::rowOf(colour).value_or(Other);
    });
}

QString describe(const std::vector<std::pair<int, int>>& found)
{
    QStringList parts;
    for (const auto& [part, height] : found)
        parts << QStringLiteral("%1×%2").arg(part).arg(height);
    return parts.join(QLatin1Char(' '));
}

} // namespace

Q_DECLARE_METATYPE(BrowserProcess::Kind)

class BrowserPageTest : public QObject, private RealCaptureRun {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (!manager.start())
            QSKIP("openbox is not installed (scripts/install-deps test)");
    }

    void init() { makeService(); }
    void cleanup() { dropService(); }

    void capturesThePage_data()
    {
        QTest::addColumn<BrowserProcess::Kind>("kind");
        QTest::addColumn<int>("fixed");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("startedBefore");
        QTest::addColumn<bool>("infoBar");
        QTest::addColumn<int>("shownFrom");
        for (const auto& [kind, name] : {std::pair(BrowserProcess::Kind::Chromium, "Chromium"),
                 std::pair(BrowserProcess::Kind::Firefox, "Firefox")}) {
            QTest::addRow("%s, a sticky header, a fixed footer and a side bar", name)
                << kind << int(Fixed::All) << 200 << false << false << 0;
            // Where the page lies in the window comes from the browser's own
            // accessibility tree alone.
            QTest::addRow("%s, one screen", name) << kind << int(Fixed::None) << 10 << false << false << 0;
        }
        // The user left the page half way down: it is taken from its top,
        // by the accessibility tree's scrolling or by the wheel without it.
        QTest::addRow("Firefox, plain rows, started before, scrolled down")
            << BrowserProcess::Kind::Firefox << int(Fixed::None) << 200 << true << false << 100;
        // Chromium started without its accessibility tree: nothing says where
        // its page begins above what scrolls, so the header is left out, never
        // repeated.
        QTest::addRow("Chromium, sticky header, started before")
            << BrowserProcess::Kind::Chromium << int(Fixed::Header) << 200 << true << false << 0;
        QTest::addRow("Chromium, an info bar over the page, scrolled down")
            << BrowserProcess::Kind::Chromium << int(Fixed::None) << 200 << false << true << 100;
    }
    void capturesThePage()
    {
        QFETCH(BrowserProcess::Kind, kind);
        QFETCH(int, fixed);
        QFETCH(int, rows);
        QFETCH(bool, startedBefore);
        QFETCH(bool, infoBar);
        QFETCH(int, shownFrom);
        if (BrowserProcess::program(kind).isEmpty())
            QSKIP("The browser is not installed (scripts/install-deps test)");
        // Programs read the switch when they start.
        QVERIFY(switchAccessibility(!startedBefore));
        const TestPages::Page page {QStringLiteral("Rows %1 %2 %3").arg(fixed).arg(rows).arg(shownFrom), rows, fixed, shownFrom};
        BrowserProcess browser(kind, TestPages::write(QDir(pages.path()), page), !startedBefore, infoBar);
        QVERIFY2(browser.appear(desk.screen, page.title), "The browser's window did not appear");
        const auto drawn = [&] {
            const StatusOr<QImage> shot = awaited(desk.screen.grabWindow(browser.window));
            const QImage image = shot.ok() ? shot.value() : QImage();
            for (int y = image.height() / 4; y < image.height(); y += 8) {
                if (LongDocument::rowOf(image.pixelColor(image.width() / 2, y)) == shownFrom + 3)
                    return true;
            }
            return false;
        };
        QVERIFY2(QTest::qWaitFor(drawn, browserStartsWithinMs), "The browser did not draw the page");
        QCursor::setPos(browser.window.frame.right() + 50, 9); // away from the page
        service->capture(CaptureKind::Page);
        QTRY_VERIFY_WITH_TIMEOUT(!service->isBusy(), 120000);
        QVERIFY2(!model->toast(), qPrintable(model->toast().value_or(QString())));
        const QImage picture = writtenPng();
        QVERIFY(!picture.isNull());

        const int left = fixed & Fixed::SideBar ? TestPages::sideBarWidth : 0;
        std::vector<std::pair<int, int>> found = bands(picture, left + (picture.width() - left) / 2);
        qInfo("%d × %d: %s", picture.width(), picture.height(), qPrintable(describe(found)));
        // The info bar's shadow darkens the page's first rows, which no scroll
        // shows otherwise: they are left out, the rest is whole.
        int firstRowMissing = 0;
        if (infoBar && found.front().first == 0 && found.front().second > TestPages::rowHeight / 2) {
            firstRowMissing = TestPages::rowHeight - found.front().second;
            found.front().second = TestPages::rowHeight;
        }
        std::vector<std::pair<int, int>> expected;
        const bool headerShown = fixed & Fixed::Header && !(startedBefore && kind == BrowserProcess::Kind::Chromium);
        if (headerShown)
            expected.emplace_back(Header, TestPages::headerHeight);
        for (int row = 0; row < rows; ++row)
            expected.emplace_back(row, TestPages::rowHeight);
        if (fixed & Fixed::Footer)
            expected.emplace_back(Footer, TestPages::footerHeight);
        // A page that does not scroll is saved as the window shows it: the
        // page from its top, its own background below the rows.
        const bool oneScreen = rows * TestPages::rowHeight < browserWindowSize.height();
        if (oneScreen)
            expected.emplace_back(Other, picture.height() - rows * TestPages::rowHeight);
        QCOMPARE(describe(found), describe(expected));
        if (oneScreen)
            return;

        // Every row between its two edges: nothing of the page cut off at
        // either side, nothing of the browser beside it.
        int y = (headerShown ? TestPages::headerHeight : 0) - firstRowMissing;
        for (int row = 0; row < rows; ++row, y += TestPages::rowHeight) {
            for (int x = 0; x < TestPages::edgeWidth; ++x) {
                QCOMPARE(picture.pixelColor(left + x, y + 20), TestPages::leftEdge);
                QCOMPARE(picture.pixelColor(picture.width() - 1 - x, y + 20), TestPages::rightEdge);
            }
            QCOMPARE(picture.pixelColor(left + TestPages::edgeWidth, y + 20), LongDocument::rowColour(row));
            QCOMPARE(picture.pixelColor(picture.width() - 1 - TestPages::edgeWidth, y + 20), LongDocument::rowColour(row));
        }
        if (fixed & Fixed::SideBar) {
            // Once, beside the first screen, from the very top; below it
            // nothing drawn beside the rest but the footer.
            const std::vector<std::pair<int, int>> side = bands(picture, 0);
            QCOMPARE(side.size(), std::size_t(3));
            QCOMPARE(side[0].first, SideBar);
            QVERIFY(side[0].second > browserWindowSize.height() / 2);
            QCOMPARE(side[1].first, Undrawn);
            QCOMPARE(side[2], std::pair(int(Footer), TestPages::footerHeight));
        }
    }

private:
    QTemporaryDir pages;
    WindowManager manager;
};

QTEST_MAIN(BrowserPageTest)
#include "tst_browser_page.moc"
