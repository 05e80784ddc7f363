// Full page from the click to the PNG in the Inbox, on the desktop for real:
// long_document is the user's program, brought to its top through the
// accessibility bus, scrolled with XTest's wheel, shot through X11 and
// stitched; the rows of the result are read back one by one.
#include "tests/support/LongDocumentBands.h"
#include "tests/support/LongDocumentProcess.h"
#include "tests/support/RealCaptureRun.h"
#include "tests/support/TestSupport.h"

#include <QCursor>
#include <QDir>
#include <QTest>

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
        QCOMPARE(LongDocument::notWhole(page), QString());
    }

    void pageThatDoesNotScrollIsOneShot()
    {
        Document document({QStringLiteral("--no-scroll")});
        const QImage page = capturePage(document);
        QVERIFY(!page.isNull());
        QVERIFY(page.height() <= document.page.height());
        QCOMPARE(LongDocument::bands(page).front().first, 0);
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
