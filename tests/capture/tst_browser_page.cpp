// Full page in the browsers people run: generated pages opened in the real
// Chromium and Firefox ESR, captured end to end, and the PNG read back row
// by row against the page: every row once, in order, as tall as it is,
// between its own two edges, with no browser bar or scroll bar, and a fixed
// header, footer or side bar once. The browser starts after Dropwell (the
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

// What a pixel of the capture shows.
enum Part { Row = 0, Header = -1, Footer = -2, SideBar = -3, Other = -4 };

int partOf(QColor colour)
{
    if (colour == TestPages::header)
        return Header;
    if (colour == TestPages::footer)
        return Footer;
    if (colour == TestPages::sideBar)
        return SideBar;
    return TestPages::rowOf(colour).value_or(Other);
}

// The bands of the picture from the top down, read in column x, as (part or
// row number, height).
std::vector<std::pair<int, int>> bands(const QImage& picture, int x)
{
    std::vector<std::pair<int, int>> found;
    for (int y = 0; y < picture.height(); ++y) {
        const int part = qAlpha(picture.pixel(x, y)) == 0 ? Other : partOf(picture.pixelColor(x, y));
        if (found.empty() || found.back().first != part)
            found.emplace_back(part, 0);
        ++found.back().second;
    }
    return found;
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
Q_DECLARE_METATYPE(TestPages::Fixed)

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
        QTest::addColumn<Fixed>("fixed");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("startedBefore");
        QTest::addColumn<bool>("infoBar");
        for (const auto& [kind, name] : {std::pair(BrowserProcess::Kind::Chromium, "Chromium"),
                 std::pair(BrowserProcess::Kind::Firefox, "Firefox")}) {
            QTest::addRow("%s, plain rows", name) << kind << Fixed::None << 200 << false << false;
            QTest::addRow("%s, plain rows, started before", name) << kind << Fixed::None << 200 << true << false;
            QTest::addRow("%s, sticky header", name) << kind << Fixed::Header << 200 << false << false;
            QTest::addRow("%s, fixed footer", name) << kind << Fixed::Footer << 200 << false << false;
            QTest::addRow("%s, side bar", name) << kind << Fixed::SideBar << 200 << false << false;
            QTest::addRow("%s, one screen", name) << kind << Fixed::None << 10 << false << false;
        }
        // Chromium started without its accessibility tree: nothing says where
        // its page begins above what scrolls, so the header is left out, never
        // repeated.
        QTest::addRow("Chromium, sticky header, started before")
            << BrowserProcess::Kind::Chromium << Fixed::Header << 200 << true << false;
        QTest::addRow("Chromium, an info bar over the page")
            << BrowserProcess::Kind::Chromium << Fixed::None << 200 << false << true;
    }
    void capturesThePage()
    {
        QFETCH(BrowserProcess::Kind, kind);
        QFETCH(Fixed, fixed);
        QFETCH(int, rows);
        QFETCH(bool, startedBefore);
        QFETCH(bool, infoBar);
        if (BrowserProcess::program(kind).isEmpty())
            QSKIP("The browser is not installed (scripts/install-deps test)");
        const TestPages::Page page {QStringLiteral("Rows %1 %2").arg(int(fixed)).arg(rows), rows, fixed};
        const QImage picture = capture(kind, page, startedBefore, infoBar);
        QVERIFY(!picture.isNull());

        const int left = fixed == Fixed::SideBar ? TestPages::sideBarWidth : 0;
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
        const bool headerShown = fixed == Fixed::Header && !(startedBefore && kind == BrowserProcess::Kind::Chromium);
        if (headerShown)
            expected.emplace_back(Header, TestPages::headerHeight);
        for (int row = 0; row < rows; ++row)
            expected.emplace_back(row, TestPages::rowHeight);
        if (fixed == Fixed::Footer)
            expected.emplace_back(Footer, TestPages::footerHeight);
        // A page that does not scroll is saved as the window shows it: its
        // bands are those of the page, between what is above and below.
        const bool oneScreen = rows * TestPages::rowHeight < browserWindowSize.height();
        if (oneScreen)
            std::erase_if(found, [](const auto& band) { return band.first == Other; });
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
            QCOMPARE(picture.pixelColor(left + TestPages::edgeWidth, y + 20), TestPages::rowColour(row));
            QCOMPARE(picture.pixelColor(picture.width() - 1 - TestPages::edgeWidth, y + 20), TestPages::rowColour(row));
        }
        if (fixed == Fixed::SideBar) {
            // Once, beside the first screen, from the very top; nothing drawn beside the rest.
            const std::vector<std::pair<int, int>> side = bands(picture, 0);
            QCOMPARE(side.front().first, SideBar);
            QVERIFY(side.front().second > browserWindowSize.height() / 2);
            QCOMPARE(side.size(), std::size_t(2));
            QCOMPARE(side.back().first, Other);
        }
    }

private:
    // Opens the page and captures it; the PNG written, null for none.
    QImage capture(BrowserProcess::Kind kind, const TestPages::Page& page, bool startedBefore, bool infoBar)
    {
        // Programs read the switch when they start.
        if (!switchAccessibility(!startedBefore))
            return {};
        const QString address = TestPages::write(QDir(pages.path()), page);
        BrowserProcess browser(kind, address, !startedBefore, infoBar);
        if (!browser.appear(desk.screen, page.title)) {
            qWarning("The browser's window did not appear");
            return {};
        }
        // Drawn: the first row, the header or the side bar shows.
        const bool drawn = QTest::qWaitFor(
            [&] {
                const StatusOr<QImage> shot = awaited(desk.screen.grabWindow(browser.window));
                if (!shot.ok())
                    return false;
                const QImage& image = shot.value();
                const int middle = image.width() / 2;
                for (int y = image.height() / 4; y < image.height(); y += 8) {
                    if (TestPages::rowOf(image.pixelColor(middle, y)) == 3)
                        return true;
                }
                return false;
            },
            browserStartsWithinMs);
        if (!drawn) {
            qWarning("The browser did not draw the page");
            return {};
        }
        const QPoint pointer(browser.window.frame.right() + 50, 9); // away from the page
        QCursor::setPos(pointer);
        service->capture(CaptureKind::Page);
        if (!QTest::qWaitFor([&] { return !service->isBusy(); }, 120000))
            return {};
        if (model->toast())
            qWarning("The capture said: %s", qPrintable(*model->toast()));
        return writtenPng();
    }

    QTemporaryDir pages;
    WindowManager manager;
};

QTEST_MAIN(BrowserPageTest)
#include "tst_browser_page.moc"
