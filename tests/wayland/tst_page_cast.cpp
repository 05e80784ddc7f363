// A full page on Wayland, where only the desktop may move the pointer: sway
// casts its output through the wlr portal and PipeWire for real, and the
// RemoteDesktop portal, which the wlr backend does not have, is played by
// the test on a bus of its own. It hands Dropwell that real cast and turns
// the pointer and the wheel Dropwell asks for into sway's own, so that
// long_document, a real program in the session, scrolls; the rows of the
// stitched page are read back one by one. seat_pointer gives the headless
// seat the pointer that sway's cursor commands need to reach programs.
#include "capture/page/PageScroller.h"
#include "platform/PageCast.h"
#include "platform/wayland/PipeWireFrameSource.h"
#include "platform/wayland/PortalBackend.h"
#include "platform/wayland/PortalPageCasts.h"
#include "platform/wayland/ScreenCastSession.h"
#include "tests/support/Awaited.h"
#include "tests/support/BackendCaptureDesk.h"
#include "tests/support/LongDocumentBands.h"
#include "tests/wayland/Compositor.h"
#include "tests/wayland/FakePortal.h"

#include <QCoreApplication>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <utility>

#include <signal.h>

namespace {

const QString output = QStringLiteral("HEADLESS-1");

// The document's row on screen at `at`, as sway shows it; none before the
// document is there.
std::optional<int> rowOnScreen(QPoint at)
{
    const QImage screen = compositorPicture(output);
    return screen.isNull() ? std::nullopt : LongDocument::rowOf(screen.pixelColor(at));
}

// sway's output, cast for real through the wlr portal, as the fake portals
// on a bus of their own grant it to Dropwell with the pointer and the wheel,
// which they turn into sway's own.
struct GrantedOutput {
    GrantedOutput()
        : portal(bus.connect(QStringLiteral("desktop"))), cast(new FakeScreenCast(&portal)),
          remote(new FakeRemoteDesktop(&portal, *cast)), session(QDBusConnection::sessionBus()),
          real(awaited(session.start(ScreenCastSource::Monitor)))
    {
        // Like the wlr portal, monitors only.
        cast->sourceTypes = 1;
        if (!real.ok())
            return;
        cast->node = real.value().node;
        cast->stream = {{QStringLiteral("size"), real.value().size}, {QStringLiteral("position"), real.value().position},
            {QStringLiteral("source_type"), 1u}};
        // That cast draws the pointer, which Dropwell parks in its corner
        // between the turns of the wheel.
        cast->pipewire = real.value().pipewire;
        const QPoint origin = real.value().position;
        remote->moved = [origin](QPointF to) {
            swaymsg(QStringLiteral("seat - cursor set %1 %2").arg(origin.x() + to.x()).arg(origin.y() + to.y()));
        };
        // One press of sway's wheel buttons is one click. A turn's presses
        // go in one call: this process's event loop, which Dropwell's
        // capture shares, must not wait for a process per click, or on a
        // busy machine the capture sees the page stand still.
        remote->wheeled = [](int steps) {
            const QString press = QStringLiteral("seat - cursor press button%1").arg(steps > 0 ? 5 : 4);
            swaymsg(QStringList(std::abs(steps), press).join(QStringLiteral("; ")));
        };
        served = portal.serve();
    }

    PrivateBus bus;
    FakeDesktop portal;
    FakeScreenCast* cast;
    FakeRemoteDesktop* remote;
    ScreenCastSession session;
    StatusOr<ScreenCastStream> real;
    bool served = false;
};

} // namespace

class PageCastTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        // The bar's clock would change the picture every second.
        QVERIFY(swaymsg(QStringLiteral("bar mode invisible")));
        pointer.start(QCoreApplication::applicationDirPath() + QStringLiteral("/seat_pointer"));
        QVERIFY(pointer.waitForReadyRead(10000));
        QCOMPARE(pointer.readLine().trimmed(), QByteArray("ready"));
    }
    void cleanupTestCase()
    {
        pointer.closeWriteChannel();
        QVERIFY(pointer.waitForFinished());
    }

    void aRealProgramScrolledThroughTheDesktopComesOutWhole()
    {
        GrantedOutput granted;
        QVERIFY2(granted.real.ok(), qPrintable(granted.real.status().message()));
        QVERIFY(granted.served);
        FakeScreenCast& cast = *granted.cast;
        FakeRemoteDesktop& remote = *granted.remote;
        const ScreenCastStream& real = granted.real.value();

        QProcess document;
        document.start(QCoreApplication::applicationDirPath() + QStringLiteral("/long_document"));
        const auto ended = qScopeGuard([&document] {
            ::kill(pid_t(document.processId()), SIGCONT);
            document.kill();
            document.waitForFinished();
        });
        // Read beside the pointer, which sway draws.
        const QPoint watched(1400, 540);
        QTRY_VERIFY_WITH_TIMEOUT(rowOnScreen(watched), 20000);
        // Where the user left it, well off its top.
        QVERIFY(swaymsg(QStringLiteral("seat - cursor set 960 540")));
        const int shown = *rowOnScreen(watched);
        for (int click = 0; click < 20; ++click)
            QVERIFY(swaymsg(QStringLiteral("seat - cursor press button5")));
        QTRY_VERIFY_WITH_TIMEOUT(rowOnScreen(watched).value_or(0) > shown + 20, 10000);

        // Busy when the capture begins: the program answers the first turn
        // of the wheel only after the run would have taken it for a page
        // standing at its top. The pointer waits where Dropwell parks it, so
        // that nothing but the page could change in that turn's pictures.
        QVERIFY(swaymsg(QStringLiteral("seat - cursor set 0 0")));
        QVERIFY(::kill(pid_t(document.processId()), SIGSTOP) == 0);
        const auto wheeled = remote.wheeled;
        remote.wheeled = [wheeled, busy = &document, awake = false](int steps) mutable {
            wheeled(steps);
            if (!std::exchange(awake, true)) {
                QTimer::singleShot(PageScroller::defaultTiming.movesWithin * 5 / 4, busy,
                    [busy] { ::kill(pid_t(busy->processId()), SIGCONT); });
            }
        };

        SilentComputer sound;
        BackendCaptureDesk desk(
            [&granted](DefaultsStore& defaults) {
                return std::make_unique<PortalBackend>(granted.bus.connect(QStringLiteral("dropwell")), &defaults);
            },
            sound);
        desk.service.capture(CaptureKind::Page);
        QTRY_VERIFY_WITH_TIMEOUT(!desk.service.isBusy(), 120000);
        QVERIFY2(!desk.model->toast(), qPrintable(desk.model->toast().value_or(QString())));
        QCOMPARE(desk.inboxNames().size(), 1);

        // Dropwell asked for a window, took the monitor the portal offers
        // instead, without the pointer drawn in, and moved the pointer on
        // that stream alone.
        QCOMPARE(remote.devices.value(QStringLiteral("types")).toUInt(), 2u);
        QCOMPARE(cast.selected.value(QStringLiteral("types")).toUInt(), 1u);
        QCOMPARE(cast.selected.value(QStringLiteral("cursor_mode")).toUInt(), 1u);
        QVERIFY(!cast.selected.contains(QStringLiteral("persist_mode")));
        QVERIFY(!remote.motions.isEmpty());
        for (const auto& [node, x, y] : std::as_const(remote.motions)) {
            QCOMPARE(node, real.node);
            QVERIFY(QRectF(QPointF(), real.size).contains(x, y));
        }
        // Up to the top first, then down.
        QVERIFY(remote.steps.front() < 0);
        QVERIFY(std::any_of(remote.steps.begin(), remote.steps.end(), [](int steps) { return steps > 0; }));

        const QImage page(desk.world.folders().inbox() + QLatin1Char('/') + desk.inboxNames().front());
        QCOMPARE(LongDocument::notWhole(page), QString());
    }


    // The wlr portal sends a picture only when the screen changed since the
    // last it sent, to any cast: here another consumer took the one a still
    // screen gave. Dropwell moves the pointer it was granted, which sway
    // draws into this cast, rather than wait for a picture that never comes.
    void aStillScreenGivesItsFirstPictureAfterAll()
    {
        GrantedOutput granted;
        QVERIFY2(granted.real.ok(), qPrintable(granted.real.status().message()));
        QVERIFY(granted.served);
        {
            std::unique_ptr<PipeWireFrameSource> other;
            QVERIFY(PipeWireFrameSource::open(granted.real.value(), 2, other).ok());
            // The cast of the test before may take the first change for itself.
            Status first = CastFrames::noPictureWithin(PipeWireFrameSource::firstPictureWait);
            for (int moves = 0; moves < 25 && !first.ok(); ++moves) {
                QVERIFY(swaymsg(QStringLiteral("seat - cursor set %1 5").arg(5 + moves % 2)));
                first = awaited(other->firstPicture(std::chrono::milliseconds(200)));
            }
            QVERIFY2(first.ok(), qPrintable(first.message()));
        }
        PortalPageCasts casts(granted.bus.connect(QStringLiteral("dropwell")));
        const StatusOr<std::unique_ptr<PageCast>> opened = awaited(casts.open());
        QVERIFY2(opened.ok(), qPrintable(opened.status().message()));
        QVERIFY(awaited(opened.value()->picture()).ok());
        QVERIFY(!granted.remote->motions.isEmpty());
    }

private:
    QProcess pointer;
};

QTEST_MAIN(PageCastTest)
#include "tst_page_cast.moc"
