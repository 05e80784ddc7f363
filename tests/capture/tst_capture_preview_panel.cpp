// The preview of a new capture on a real X server: the screen it comes on,
// when it goes by itself, what a click and a drag do, and that it leaves the
// keyboard focus where it was.
#include "capture/CapturePreviewPanel.h"
#include "capture/PreviewThumb.h"
#include "platform/DesktopWindows.h"
#include "tests/capture/ShownWindows.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QtGui/qguiapplication_platform.h>
#include <QDrag>
#include <QLineEdit>
#include <QMimeData>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

using namespace std::chrono_literals;

namespace {

using Timing = CapturePreviewPanel::Timing;
constexpr Timing quick {10000, 40, 40};
const QString shotPath = QStringLiteral("/tmp/inbox/Screenshot 2026-12-05 at 10.21.24.png");

QImage filled(QSize size, QColor colour = Qt::red)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

void settle(const CapturePreviewPanel& panel) { QTRY_COMPARE(panel.window()->windowOpacity(), 1.0); }

void hover(const CapturePreviewPanel& panel, bool inside)
{
    QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), panel.window()->mapToGlobal(QPointF(10, 10)));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(panel.window(), inside ? static_cast<QEvent*>(&enter) : &leave);
}

// The X server's own answer, given after every request sent before it, a
// focus change included.
xcb_window_t inputFocus()
{
    xcb_connection_t* x = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const std::unique_ptr<xcb_get_input_focus_reply_t, decltype(&std::free)> reply(
        xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr), &std::free);
    return reply ? reply->focus : XCB_NONE;
}

} // namespace

class CapturePreviewPanelTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The pointer rests mid-screen, away from where previews appear.
    void init() { QCursor::setPos(QGuiApplication::primaryScreen()->geometry().center()); }

    void drawsTheCaptureOnARoundedCardAndNeverTakesTheFocus()
    {
        QLineEdit editor;
        editor.show();
        editor.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        CapturePreviewPanel panel(quick, timers, desktop);
        panel.show(filled({400, 300}, Qt::blue), shotPath);
        QVERIFY(QTest::qWaitForWindowExposed(panel.window()));
        settle(panel);
        const QImage shown = panel.window()->grab().toImage();
        QCOMPARE(shown.pixelColor(shown.rect().center()), QColor(Qt::blue));
        // No compositing manager runs here: the window itself is cut round,
        // rather than drawing black where its corners would be see-through.
        QVERIFY(!panel.window()->testAttribute(Qt::WA_TranslucentBackground));
        QVERIFY(!panel.window()->mask().contains(QPoint(0, 0)));
        QVERIFY(panel.window()->mask().contains(QPoint(2, shown.height() / 2)));
        QVERIFY(panel.window()->mask().contains(shown.rect().center()));

        const xcb_window_t focused = inputFocus();
        QTest::mouseClick(panel.window(), Qt::LeftButton);
        QCOMPARE(inputFocus(), focused);
        QVERIFY(editor.hasFocus());
    }

    // Hovering keeps it; leaving starts a fresh delay.
    void slidesInAtThePointersScreenAndOutAfterTheDelayUnlessHovered()
    {
        CapturePreviewPanel panel({300, 40, 40}, timers, desktop);
        panel.show(filled({400, 300}), shotPath);
        const QRect screen = QGuiApplication::screenAt(QCursor::pos())->availableGeometry();
        settle(panel);
        QVERIFY(screen.contains(panel.window()->frameGeometry()));
        timers.advance(299ms);
        QVERIFY(panel.isShown());
        QCOMPARE(panel.window()->windowOpacity(), 1.0);
        timers.advance(1ms);
        QTRY_VERIFY(!panel.isShown());

        // Idle, the hidden window goes; the next capture makes it anew, and
        // the one shown stays.
        panel.releaseWindow();
        QCOMPARE(panel.window(), nullptr);
        panel.show(filled({400, 300}), shotPath);
        panel.releaseWindow();
        QVERIFY(panel.isShown());
        settle(panel);
        timers.advance(100ms);
        hover(panel, true);
        timers.advance(1h);
        QVERIFY(panel.isShown());
        QCOMPARE(panel.window()->windowOpacity(), 1.0);
        hover(panel, false);
        timers.advance(299ms);
        QVERIFY(panel.isShown());
        QCOMPARE(panel.window()->windowOpacity(), 1.0);
        timers.advance(1ms);
        QTRY_VERIFY(!panel.isShown());
    }

    void aNewShowReplacesThePreviousAtOnce_data()
    {
        QTest::addColumn<bool>("slidingOut");
        QTest::addRow("while shown") << false;
        QTest::addRow("while sliding out") << true;
    }
    void aNewShowReplacesThePreviousAtOnce()
    {
        QFETCH(bool, slidingOut);
        // Sliding in takes as long as sliding out: once the new preview is
        // in, a slide-out left running would have ended too.
        CapturePreviewPanel panel({400, 200, 200}, timers, desktop);
        panel.show(filled({400, 300}), QStringLiteral("/tmp/first.png"));
        settle(panel);
        if (slidingOut)
            panel.hide(true);
        panel.show(filled({100, 400}), shotPath);
        QCOMPARE(shownWindowsNamed(QStringLiteral("capturePreview")), 1);
        QCOMPARE(static_cast<PreviewThumb*>(panel.window())->path(), shotPath);
        settle(panel);
        QVERIFY(panel.isShown());
        QCoreApplication::processEvents();
        QVERIFY(panel.window()->isVisible());
    }

    void pressAndRelease_data()
    {
        QTest::addColumn<QPoint>("moved");
        QTest::addColumn<bool>("drags");
        QTest::addRow("a hand's tremor: click") << QPoint(0, 4) << false;
        QTest::addRow("a drag") << QPoint(5, 0) << true;
    }
    void pressAndRelease()
    {
        QFETCH(QPoint, moved);
        QFETCH(bool, drags);
        CapturePreviewPanel panel(quick, timers, desktop);
        panel.show(filled({400, 300}), shotPath);
        settle(panel);
        QSignalSpy clicks(&panel, &CapturePreviewPanel::clicked);
        QWidget* window = panel.window();
        QList<QUrl> dragged;
        QStringList formats;
        Qt::DropActions actions;
        bool looked = false;
        // Runs inside the drag's own event loop if one started, and ends it as Escape would.
        QTimer::singleShot(0, window, [&] {
            looked = true;
            if (auto* drag = window->findChild<QDrag*>()) {
                dragged = drag->mimeData()->urls();
                formats = drag->mimeData()->formats();
                actions = drag->supportedActions();
                QTest::keyClick(window, Qt::Key_Escape);
            }
        });
        const QPoint start = window->rect().center();
        QTest::mousePress(window, Qt::LeftButton, {}, start);
        QTest::mouseMove(window, start + moved);
        QTest::mouseRelease(window, Qt::LeftButton, {}, start + moved);
        QTRY_VERIFY(looked); // where no drag ran it, the check above runs now

        QCOMPARE(dragged, drags ? QList<QUrl> {QUrl::fromLocalFile(shotPath)} : QList<QUrl>());
        if (drags) {
            QCOMPARE(formats, QStringList {QStringLiteral("text/uri-list")});
            QCOMPARE(actions, Qt::CopyAction);
            QCOMPARE(clicks.count(), 0);
            QVERIFY(panel.isShown());
        } else {
            QCOMPARE(clicks.count(), 1);
            QCOMPARE(clicks.first().first().toString(), shotPath);
            QTRY_VERIFY(!panel.isShown());
        }
    }

private:
    ManualClock clock;
    ManualTimers timers {clock};
    PlainDesktopWindows desktop {false};
};

QTEST_MAIN(CapturePreviewPanelTest)
#include "tst_capture_preview_panel.moc"
