// The preview window over real files on a real X server: which page each
// kind of file gets, how pictures fit, moving between files and closing.
#include "tests/support/SampleFiles.h"
#include "tests/support/TestSupport.h"
#include "ui/PdfPagesView.h"
#include "ui/PreviewWindow.h"

#include <QBitmap>
#include <QFontInfo>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include <algorithm>

namespace {

QWidget* shownPage(const PreviewWindow& window) { return window.findChild<QStackedWidget*>()->currentWidget(); }

QToolButton* button(const PreviewWindow& window, const QString& toolTip)
{
    const auto buttons = window.findChildren<QToolButton*>();
    const auto found = std::find_if(buttons.begin(), buttons.end(), [&](auto* b) { return b->toolTip() == toolTip; });
    return found == buttons.end() ? nullptr : *found;
}

QString counterText(const PreviewWindow& window)
{
    const auto* counter = window.findChild<QLabel*>(QStringLiteral("previewCounter"));
    return counter->isVisible() ? counter->text() : QString();
}

QStringList labelTexts(const QWidget& widget)
{
    QStringList texts;
    for (const auto* label : widget.findChildren<QLabel*>())
        texts.append(label->text());
    return texts;
}

QObject* mediaPlayer(const PreviewWindow& window)
{
    const auto objects = window.findChildren<QObject*>();
    const auto found = std::find_if(objects.begin(), objects.end(), [](QObject* o) { return o->inherits("QMediaPlayer"); });
    return found == objects.end() ? nullptr : *found;
}

// Where the red of a test picture landed in a grab of the page.
QRect redArea(const QImage& grab)
{
    return QRegion(QBitmap::fromImage(grab.createMaskFromColor(qRgb(255, 0, 0), Qt::MaskOutColor))).boundingRect();
}

} // namespace

class PreviewWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void eachKindOfFileGetsItsPage_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("why"); // what a facts page says of a file it cannot show
        const QString image = QStringLiteral("imagePage"), text = QStringLiteral("textPage"), facts = QStringLiteral("factsPage");
        QTest::addRow("small picture without extension, as it is") << QStringLiteral("shot") << png(QSize(40, 30)) << image << QString();
        QTest::addRow("wide picture fits the width") << QStringLiteral("wide.png") << png(QSize(3000, 600)) << image << QString();
        QTest::addRow("script") << QStringLiteral("run.sh") << QByteArray("#!/bin/sh\necho hi\n") << text << QString();
        QByteArray lines;
        for (int i = 0; lines.size() < 300 * 1024; ++i)
            lines += "line " + QByteArray::number(i) + '\n';
        QTest::addRow("a long log, its start") << QStringLiteral("long.log") << lines << text << QString();
        QTest::addRow("UTF-8 of no known type") << QStringLiteral("greeting.zz9") << QByteArray("Gr\xc3\xbc\xc3\x9f" "e\n") << text << QString();
        QTest::addRow("control bytes, no NUL") << QStringLiteral("table.dat") << QByteArray(200, '\x01') << facts << QString();
        QTest::addRow("empty") << QStringLiteral("empty.bin") << QByteArray() << facts << QString();
        QTest::addRow("broken picture") << QStringLiteral("broken.png") << binary(500) << facts << QString();
        QTest::addRow("PDF locked with a password") << QStringLiteral("statement.pdf") << lockedPdf() << facts
                                                    << QStringLiteral("This PDF is locked with a password.");
        QTest::addRow("PDF cut short") << QStringLiteral("statement.pdf") << pdf(2).left(300) << facts
                                       << QStringLiteral("This PDF cannot be read: the file is damaged or not a PDF.");
    }
    void eachKindOfFileGetsItsPage()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, contents);
        QFETCH(QString, page);
        QFETCH(QString, why);
        PreviewWindow window;
        window.toggle({put(name, contents)}, 0);
        QVERIFY(window.isVisible());
        // A PDF is read off the GUI thread, and only then found unreadable.
        QTRY_COMPARE(shownPage(window)->objectName(), page);
        QCOMPARE(window.windowTitle(), name);
        if (const auto* text = qobject_cast<QPlainTextEdit*>(shownPage(window))) {
            QCOMPARE(text->toPlainText().toUtf8(), contents.left(256 * 1024));
            QVERIFY(text->isReadOnly());
            QVERIFY(QFontInfo(text->font()).fixedPitch());
        }
        if (page == QStringLiteral("factsPage")) {
            const QStringList facts = labelTexts(*shownPage(window));
            QVERIFY2(facts.contains(name) && (why.isEmpty() || facts.contains(why)), qPrintable(facts.join(QLatin1Char('|'))));
            QCOMPARE(facts.filter(QLocale().formattedDataSize(contents.size())).size(), 1);
            QCOMPARE(facts.filter(QStringLiteral("Modified ")).size(), 1);
        }
        if (page == QStringLiteral("imagePage")) {
            // Fitted, centred, never grown, the same shape to within the one pixel lost in rounding.
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            const QSize size = QImage::fromData(contents).size();
            QWidget* shownImage = shownPage(window);
            const QRect shown = redArea(shownImage->grab().toImage());
            QVERIFY(shownImage->rect().contains(shown));
            QVERIFY((shown.center() - shownImage->rect().center()).manhattanLength() <= 2);
            if (size.width() <= shownImage->width() && size.height() <= shownImage->height())
                QCOMPARE(shown.size(), size);
            else
                QVERIFY(shown.width() == shownImage->width() || shown.height() == shownImage->height());
            QVERIFY(qAbs(qint64(shown.width()) * size.height() - qint64(shown.height()) * size.width()) <= std::max(size.width(), size.height()));
        }
    }

    void missingFilesAreSkippedAndTheStartClamped_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("startAt");
        QTest::addColumn<QString>("shown"); // empty: the preview does not open
        QTest::addColumn<QString>("counter");
        const QString a = QStringLiteral("a.txt"), b = QStringLiteral("b.txt"), c = QStringLiteral("c.txt"), gone = QStringLiteral("gone.txt");
        QTest::addRow("missing skipped") << QStringList {a, gone, b} << 1 << b << QStringLiteral("2 of 2");
        QTest::addRow("beyond the end") << QStringList {a, b, c} << 7 << c << QStringLiteral("3 of 3");
        QTest::addRow("before the start") << QStringList {a, b} << -3 << a << QStringLiteral("1 of 2");
        QTest::addRow("one left, no counter") << QStringList {gone, b} << 0 << b << QString();
        QTest::addRow("all missing") << QStringList {gone, gone} << 0 << QString() << QString();
    }
    void missingFilesAreSkippedAndTheStartClamped()
    {
        QFETCH(QStringList, names);
        QFETCH(int, startAt);
        QFETCH(QString, shown);
        QFETCH(QString, counter);
        QStringList paths;
        for (const QString& name : names)
            paths.append(name == QStringLiteral("gone.txt") ? dir_.filePath(name) : put(name, name.toUtf8()));
        PreviewWindow window;
        window.toggle(paths, startAt);
        QCOMPARE(window.isVisible(), !shown.isEmpty());
        if (shown.isEmpty())
            return;
        QCOMPARE(window.findChild<QPlainTextEdit*>()->toPlainText(), shown);
        QCOMPARE(counterText(window), counter);
    }

    void arrowsAndChevronsStopAtTheEnds_data()
    {
        QTest::addColumn<bool>("withChevrons");
        QTest::addRow("arrow keys") << false;
        QTest::addRow("chevrons") << true;
    }
    void arrowsAndChevronsStopAtTheEnds()
    {
        QFETCH(bool, withChevrons);
        PreviewWindow window;
        window.toggle({put(QStringLiteral("a.txt"), "a"), put(QStringLiteral("b.png"), png(QSize(8, 8))), put(QStringLiteral("c.bin"), binary(10))}, 0);
        QToolButton* previous = button(window, QStringLiteral("Previous"));
        QToolButton* next = button(window, QStringLiteral("Next"));
        const auto step = [&](Qt::Key key) -> QString {
            if (withChevrons)
                QTest::mouseClick(key == Qt::Key_Right ? next : previous, Qt::LeftButton);
            else
                QTest::keyClick(&window, key);
            return window.windowTitle() + QLatin1Char(' ') + shownPage(window)->objectName();
        };
        QVERIFY(!previous->isEnabled());
        QCOMPARE(step(Qt::Key_Left), QStringLiteral("a.txt textPage"));
        QCOMPARE(step(Qt::Key_Right), QStringLiteral("b.png imagePage"));
        QVERIFY(previous->isEnabled() && next->isEnabled());
        QCOMPARE(step(Qt::Key_Right), QStringLiteral("c.bin factsPage"));
        QCOMPARE(counterText(window), QStringLiteral("3 of 3"));
        QVERIFY(!next->isEnabled());
        QCOMPARE(step(Qt::Key_Right), QStringLiteral("c.bin factsPage"));
        QCOMPARE(step(Qt::Key_Left), QStringLiteral("b.png imagePage"));
    }

    void closing_data()
    {
        QTest::addColumn<QString>("how");
        // Space and Escape are one case of the window's keys.
        for (const char* how : {"space", "escape in the text", "close button", "toggle again"})
            QTest::addRow("%s", how) << QString::fromLatin1(how);
    }
    void closing()
    {
        QFETCH(QString, how);
        const QStringList paths {put(QStringLiteral("a.txt"), "a"), put(QStringLiteral("b.txt"), "b")};
        PreviewWindow window;
        window.toggle(paths, 0);
        // The text takes the keyboard focus when clicked; the preview's keys must still work there.
        QWidget* target = how.endsWith(QStringLiteral("in the text")) ? static_cast<QWidget*>(window.findChild<QPlainTextEdit*>()) : &window;
        QTest::keyClick(target, Qt::Key_Right);
        QCOMPARE(window.windowTitle(), QStringLiteral("b.txt"));
        if (how.startsWith(QStringLiteral("space")))
            QTest::keyClick(target, Qt::Key_Space);
        else if (how.startsWith(QStringLiteral("escape")))
            QTest::keyClick(target, Qt::Key_Escape);
        else if (how == QStringLiteral("close button"))
            QTest::mouseClick(button(window, QStringLiteral("Close")), Qt::LeftButton);
        else
            window.toggle(paths, 0);
        QVERIFY(!window.isVisible());
    }

    void videosGetAPlayerOnlyWhenShownAndPlayWithoutASoundServer()
    {
        // Bytes no decoder takes, named like a video, still take the video road.
        const QString clip = put(QStringLiteral("clip.mp4"), binary(4096));
        PreviewWindow window;
        window.toggle({put(QStringLiteral("a.txt"), "a"), clip}, 0);
        QVERIFY(!mediaPlayer(window));
        QTest::keyClick(&window, Qt::Key_Right);
        QCOMPARE(shownPage(window)->objectName(), QStringLiteral("videoPage"));
        QObject* player = mediaPlayer(window);
        QVERIFY(player);
        QCOMPARE(player->property("source").toUrl(), QUrl::fromLocalFile(clip));
        // No decoder takes these bytes: the page falls back to the file's facts.
        QTRY_COMPARE(shownPage(window)->objectName(), QStringLiteral("factsPage"));
        QVERIFY(labelTexts(*shownPage(window)).contains(QStringLiteral("clip.mp4")));

        QTest::keyClick(&window, Qt::Key_Left);
        QVERIFY(player->property("source").toUrl().isEmpty());
        QTest::keyClick(&window, Qt::Key_Right);
        QCOMPARE(player->property("source").toUrl(), QUrl::fromLocalFile(clip));
        window.close();
        QVERIFY(player->property("source").toUrl().isEmpty());

        // A real video plays, though the test's session has no sound server and none may be started for it.
        const QString recording = dir_.filePath(QStringLiteral("recording.mp4"));
        if (!writeVideo(recording))
            QSKIP("ffmpeg could not make a video here");
        window.toggle({recording}, 0);
        QCOMPARE(shownPage(window)->objectName(), QStringLiteral("videoPage"));
        QCOMPARE(mediaPlayer(window), player);
        QTRY_VERIFY_WITH_TIMEOUT(player->property("position").toLongLong() > 0, 10000);
        QCOMPARE(shownPage(window)->objectName(), QStringLiteral("videoPage"));
        window.close();
    }

    void pdfsShowTheirFirstPages_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("shown");
        QTest::addRow("one page") << 1 << 1;
        QTest::addRow("a long document, its start") << 12 << 5;
    }
    void pdfsShowTheirFirstPages()
    {
        QFETCH(int, pages);
        QFETCH(int, shown);
        PreviewWindow window;
        window.toggle({put(QStringLiteral("a.txt"), "a"), put(QStringLiteral("report.pdf"), pdf(pages))}, 1);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(shownPage(window)->objectName(), QStringLiteral("pdfPage"));
        auto* view = window.findChild<PdfPagesView*>();
        QTRY_COMPARE(view->pageCount(), shown);
        const QImage grab = view->viewport()->grab().toImage(); // drawn, not blank
        QVERIFY(redArea(grab).width() >= grab.width() * 9 / 10);
        QVERIFY(view->verticalScrollBar()->maximum() > 0);

        // Moving on before the pages arrive leaves the next file in place.
        QTest::keyClick(&window, Qt::Key_Left);
        QTest::keyClick(&window, Qt::Key_Right);
        QTest::keyClick(&window, Qt::Key_Left);
        QCOMPARE(shownPage(window)->objectName(), QStringLiteral("textPage"));
        QTest::keyClick(&window, Qt::Key_Right);
        QTRY_COMPARE(view->pageCount(), shown);
        QCOMPARE(shownPage(window)->objectName(), QStringLiteral("pdfPage"));
    }

private:
    QString put(const QString& name, const QByteArray& contents)
    {
        writeFile(dir_.filePath(name), contents);
        return dir_.filePath(name);
    }

    QTemporaryDir dir_;
};

QTEST_MAIN(PreviewWindowTest)
#include "tst_preview_window.moc"
