// Full page from the click to the PNG in the Inbox, on the desktop for real:
// long_document is the user's program, brought to its top through the
// accessibility bus, scrolled with XTest's wheel, shot through X11 and
// stitched; the rows of the result are read back one by one.
#include "tests/support/LongDocumentProcess.h"
#include "tests/support/RealCaptureRun.h"
#include "tests/support/TestSupport.h"

#include <QCursor>
#include <QDir>
#include <QTest>

namespace {

// The row bands from the top of a page picture down, as (row, height):
// read right of the labels, a band the document does not have is -1.
std::vector<std::pair<int, int>> bands(const QImage& page)
{
    std::vector<std::pair<int, int>> found;
    const int x = page.width() / 2;
    for (int y = 0; y < page.height(); ++y) {
        const int row = LongDocument::rowOf(page.pixelColor(x, y)).value_or(-1);
        if (found.empty() || found.back().first != row)
            found.emplace_back(row, 0);
        ++found.back().second;
    }
    return found;
}

} // namespace

class FullPageTest : public QObject, private RealCaptureRun {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        // Programs read the switch when they start: it is on before any starts.
        const Status enabled = desk.accessibility.ensureEnabled();
        QVERIFY2(enabled.ok(), qPrintable(enabled.message()));
    }

    void init() { makeService(); }
    void cleanup() { dropService(); }

    void longPageIsCapturedWhole()
    {
        Document document;
        const QImage page = capturePage(document);
        QVERIFY(!page.isNull());
        QCOMPARE(desk.input.pointer(), QPoint(7, 9));
        QVERIFY(!model->toast());
        // Every row once, in order, each exactly as tall as in the document:
        // no seam repeats or loses a pixel.
        const auto found = bands(page);
        std::vector<int> rows;
        for (std::size_t i = 0; i < found.size(); ++i) {
            const auto [row, height] = found[i];
            if (row < 0)
                continue;
            rows.push_back(row);
            const bool inner = i > 0 && i + 1 < found.size() && found[i - 1].first >= 0 && found[i + 1].first >= 0;
            if (inner)
                QCOMPARE(height, LongDocument::rowHeight);
        }
        QCOMPARE(int(rows.size()), LongDocument::defaultRows);
        for (int i = 0; i < int(rows.size()); ++i)
            QCOMPARE(rows[std::size_t(i)], i);
    }

    void pageThatDoesNotScrollIsOneShot()
    {
        Document document({QStringLiteral("--no-scroll")});
        const QImage page = capturePage(document);
        QVERIFY(!page.isNull());
        QVERIFY(page.height() <= document.page.height());
        QCOMPARE(bands(page).front().first, 0);
        QCOMPARE(desk.input.pointer(), QPoint(7, 9));
    }

    void blankWindowIsNoPicture()
    {
        // A window that neither scrolls nor shows anything but one colour.
        Document document({QStringLiteral("--blank")});
        QVERIFY(capturePage(document).isNull());
        QCOMPARE(model->toast(), QStringLiteral("Couldn't read that page."));
        QVERIFY(QDir(world->folders().inbox()).entryList({QStringLiteral("*.png")}, QDir::Files).isEmpty());
    }

private:
    // Captures the document's page; the picture written, null for none.
    QImage capturePage(Document& document)
    {
        if (!document.appear(desk.screen)
            || !QTest::qWaitFor([&] { return desk.accessibility.webAreaFrame(document.window).has_value(); }, appearsWithinMs))
            return {};
        const QPoint pointer(7, 9); // away from the page
        QCursor::setPos(pointer);
        service->capture(CaptureKind::Page);
        if (!QTest::qWaitFor([&] { return !service->isBusy(); }, 60000))
            return {};
        if (desk.input.pointer() != pointer)
            qWarning("the pointer was left at %d,%d", desk.input.pointer().x(), desk.input.pointer().y());
        return writtenPng();
    }
};

QTEST_MAIN(FullPageTest)
#include "tst_full_page.moc"
