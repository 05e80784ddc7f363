// The recording bar on a real X server: the time it shows, the screen it comes on,
// and every way it ends a recording (Stop, Escape in another program, Escape
// in one of Dropwell's windows), each running the stop action exactly once.
#include "capture/RecordingBar.h"
#include "platform/DesktopWindows.h"
#include "platform/x11/X11GlobalEscape.h"
#include "tests/capture/ShownWindows.h"
#include "tests/support/OtherProgram.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QShortcut>
#include <QTest>

#include <xcb/xcb.h>

namespace {

// Where Xvfb's keymap puts them, the places evdev gives them.
constexpr xcb_keycode_t escapeKey = 9;
constexpr xcb_keycode_t aKey = 38;
constexpr xcb_keycode_t capsLockKey = 66;
constexpr xcb_keycode_t numLockKey = 77;
// The modifier Xvfb's keymap gives Num Lock.
constexpr int numLockMask = XCB_MOD_MASK_2;

// One of Dropwell's own windows: it notes every key that reaches it, and
// binds Escape as a shortcut, the way the popover steps back with it.
class OwnWindow final : public QWidget {
public:
    OwnWindow()
    {
        setFocusPolicy(Qt::StrongFocus);
        resize(300, 200);
        auto* back = new QShortcut(QKeySequence(Qt::Key_Escape), this);
        connect(back, &QShortcut::activated, this, [this] { ++shortcuts; });
    }
    [[nodiscard]] bool takeFocus()
    {
        show();
        activateWindow();
        return QTest::qWaitForWindowActive(this);
    }

    QList<int> keys;
    int shortcuts = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override { keys.append(event->key()); }
};

enum class Focus { OtherProgram, OwnWindow };
enum class Delivery { Keyboard, QtEvent };

QLabel& elapsed(const RecordingBar& bar)
{
    return *bar.window()->findChild<QLabel*>(QStringLiteral("elapsed"));
}

QPushButton& stopButton(const RecordingBar& bar)
{
    return *bar.window()->findChild<QPushButton*>(QStringLiteral("stop"));
}

} // namespace

class RecordingBarTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { QCursor::setPos(QGuiApplication::primaryScreen()->geometry().center()); }

    // Shown from one of Dropwell's windows, it leaves that window the keyboard.
    void shownOnThePointersScreenAndMovedByItsBackground()
    {
        OwnWindow own;
        QVERIFY(own.takeFocus());
        RecordingBar bar(clock_, escape_, desktop_);
        const auto screens = QGuiApplication::screens();
        for (const QScreen* screen : screens) {
            QCursor::setPos(screen->geometry().center());
            bar.show([] {});
            QVERIFY(QTest::qWaitForWindowExposed(bar.window()));
            QTRY_VERIFY(screen->geometry().contains(bar.window()->frameGeometry()));
            QCOMPARE(QApplication::activeWindow(), &own);
        }
        QWidget* window = bar.window();
        const QPoint placed = window->pos();
        const QPoint background(26, 20); // between the dot and the time
        QTest::mousePress(window, Qt::LeftButton, {}, background);
        QTest::mouseMove(window, background + QPoint(-100, -50));
        QTest::mouseRelease(window, Qt::LeftButton, {}, background + QPoint(-100, -50));
        QTRY_COMPARE(window->pos(), placed + QPoint(-100, -50));
        QVERIFY(bar.isShown());
    }

    // The time shown drops the fraction, has no cap on minutes and never goes
    // below zero. Shown again, a new bar replaces the old one, its time and
    // its stop action; Stop runs that once, after the bar has gone, however
    // quickly clicked again.
    void elapsedTimeAndStopRunningTheLatestActionOnce()
    {
        RecordingBar bar(clock_, escape_, desktop_);
        int firstStops = 0;
        int stops = 0;
        bool shownWhileStopping = true;
        const QDateTime start = clock_.now();
        bar.show([&] { ++firstStops; });
        for (const auto& [afterMs, text] : {std::pair(59'900, "00:59"), {-5000, "00:00"}, {(75 * 60 + 3) * 1000, "75:03"}}) {
            clock_.set(start.addMSecs(afterMs));
            QTRY_COMPARE(elapsed(bar).text(), QLatin1String(text));
        }
        bar.show([&] {
            ++stops;
            shownWhileStopping = bar.isShown();
        });
        QCOMPARE(elapsed(bar).text(), QStringLiteral("00:00"));
        QCOMPARE(shownWindowsNamed(QStringLiteral("recordingBar")), 1);
        QVERIFY(QTest::qWaitForWindowExposed(bar.window()));
        QPushButton& stop = stopButton(bar);
        QTest::mouseClick(&stop, Qt::LeftButton);
        QCOMPARE(stops, 1);
        QVERIFY(!shownWhileStopping);
        QVERIFY(!bar.isShown());
        QTest::mouseClick(&stop, Qt::LeftButton);
        QCOMPARE(stops, 1);
        QCOMPARE(firstStops, 0);

        // Idle, the hidden bar goes; the next recording makes it anew, and
        // the one shown stays.
        bar.releaseWindow();
        QCOMPARE(bar.window(), nullptr);
        bar.show([&] { ++stops; });
        bar.releaseWindow();
        QVERIFY(bar.isShown());
        QTest::mouseClick(&stopButton(bar), Qt::LeftButton);
        QCOMPARE(stops, 2);
    }

    void escapeStopsAndOtherKeysPass_data()
    {
        QTest::addColumn<Focus>("focus");
        QTest::addColumn<Delivery>("delivery");
        QTest::addColumn<QList<int>>("locks");
        QTest::addColumn<int>("lockMask");
        QTest::addColumn<bool>("escape");
        const auto row = [](const char* name, Focus focus, Delivery delivery, QList<int> locks = {}, int mask = 0, bool escape = true) {
            QTest::newRow(name) << focus << delivery << locks << mask << escape;
        };
        row("another program in front", Focus::OtherProgram, Delivery::Keyboard);
        row("another program in front, Caps Lock on", Focus::OtherProgram, Delivery::Keyboard, {capsLockKey}, XCB_MOD_MASK_LOCK);
        row("another program in front, Num Lock on", Focus::OtherProgram, Delivery::Keyboard, {numLockKey}, numLockMask);
        row("another program in front, both locks on", Focus::OtherProgram, Delivery::Keyboard, {capsLockKey, numLockKey},
            XCB_MOD_MASK_LOCK | numLockMask);
        row("Dropwell in front", Focus::OwnWindow, Delivery::Keyboard);
        row("Dropwell in front, key sent inside Qt", Focus::OwnWindow, Delivery::QtEvent);
        row("another key passes", Focus::OwnWindow, Delivery::Keyboard, {}, 0, false);
        row("another key sent inside Qt passes", Focus::OwnWindow, Delivery::QtEvent, {}, 0, false);
    }
    void escapeStopsAndOtherKeysPass()
    {
        QFETCH(Focus, focus);
        QFETCH(Delivery, delivery);
        QFETCH(QList<int>, locks);
        QFETCH(int, lockMask);
        QFETCH(bool, escape);
        OtherProgram other;
        OwnWindow own;
        if (focus == Focus::OtherProgram)
            other.takeFocus();
        else
            QVERIFY(own.takeFocus());
        const auto toggleLocks = [&] {
            for (const int key : locks)
                other.type(xcb_keycode_t(key));
        };
        toggleLocks();
        const auto unlock = qScopeGuard(toggleLocks);
        QCOMPARE(other.modifiers() & (XCB_MOD_MASK_LOCK | numLockMask), lockMask);
        RecordingBar bar(clock_, escape_, desktop_);
        int stops = 0;
        bar.show([&] { ++stops; });

        if (delivery == Delivery::Keyboard)
            other.type(escape ? escapeKey : aKey);
        else
            QTest::keyClick(&own, escape ? Qt::Key_Escape : Qt::Key_A);
        if (!escape) {
            QTRY_COMPARE(own.keys, QList<int>({Qt::Key_A}));
            QVERIFY(bar.isShown());
            QCOMPARE(stops, 0);
            return;
        }
        QTRY_COMPARE(stops, 1);
        QVERIFY(!bar.isShown());
        // Consumed by the bar: Dropwell's window neither saw the key nor ran its shortcut.
        QCOMPARE(own.keys, QList<int>());
        QCOMPARE(own.shortcuts, 0);
    }

    // Hidden, the bar gives Escape back; where another program holds it, the
    // bar leaves it there and Stop is the way out.
    void escapeIsHeldOnlyWhileShownAndOnlyIfFree()
    {
        OtherProgram other;
        OwnWindow own;
        QVERIFY(own.takeFocus());
        RecordingBar bar(clock_, escape_, desktop_);
        bar.hide(); // nothing shown yet
        QCOMPARE(bar.window(), nullptr);
        int stops = 0;
        bar.show([&] { ++stops; });
        QVERIFY(!other.grabKey(escapeKey));
        bar.hide();
        // Back to the other program for the whole display, and to Dropwell's own shortcut.
        QVERIFY(other.grabKey(escapeKey));
        QTest::keyClick(&own, Qt::Key_Escape);
        QCOMPARE(own.shortcuts, 1);
        bar.hide();
        QCOMPARE(stops, 0);

        other.takeFocus();
        bar.show([&] { ++stops; });
        QVERIFY(bar.isShown());
        QVERIFY(bar.window()->toolTip().contains(QStringLiteral("click Stop")));
        other.type(escapeKey);
        QTRY_VERIFY(other.receivedPress(escapeKey));
        QVERIFY(bar.isShown());
        QCOMPARE(stops, 0);
        stopButton(bar).click();
        QCOMPARE(stops, 1);
    }

private:
    ManualClock clock_;
    X11GlobalEscape escape_;
    PlainDesktopWindows desktop_ {false};
};

QTEST_MAIN(RecordingBarTest)
#include "tst_recording_bar.moc"
