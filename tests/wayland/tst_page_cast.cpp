// A full page on Wayland, where only the desktop may move the pointer: sway
// casts its output through the wlr portal and PipeWire for real, and the
// RemoteDesktop portal, which the wlr backend does not have, is played by
// the test on a bus of its own. It hands Dropwell that real cast and turns
// the pointer and the wheel Dropwell asks for into sway's own, so that
// long_document, a real program in the session, scrolls; the rows of the
// stitched page are read back one by one. seat_pointer gives the headless
// seat the pointer that sway's cursor commands need to reach programs.
#include "platform/PageCast.h"
#include "platform/wayland/PipeWireFrameSource.h"
#include "platform/wayland/PortalBackend.h"
#include "platform/wayland/PortalPageCasts.h"
#include "platform/wayland/ScreenCastSession.h"
#include "tests/support/Awaited.h"
#include "tests/support/BackendCaptureDesk.h"
#include "tests/support/LongDocument.h"
#include "tests/wayland/Compositor.h"
#include "tests/wayland/FakePortal.h"
#include "tests/wayland/SwayCommands.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

#include <cstdlib>
#include <memory>
#include <optional>

namespace {

const QString output = QStringLiteral("HEADLESS-1");

// The document's row on screen at `at`, as sway shows it; none before the
// document is there.
std::optional<int> rowOnScreen(QPoint at)
{
    const QImage screen = compositorPicture(output);
    return screen.isNull() ? std::nullopt : LongDocument::rowOf(screen.pixelColor(at));
}

// Whether sway drew the pointer's tip at `at` into a picture of its cast:
// grim's picture of the same screen, `bare`, leaves the pointer out.
bool pointerDrawnAt(const QImage& cast, const QImage& bare, QPoint at)
{
    for (int y = at.y(); y < at.y() + 8; ++y) {
        for (int x = at.x(); x < at.x() + 8; ++x) {
            if (cast.pixelColor(x, y).rgb() != bare.pixelColor(x, y).rgb())
                return true;
        }
    }
    return false;
}

// What keeps `page` from being long_document's whole page, every row once,
// in order, each exactly as tall as in the document, so that no seam repeats
// or loses a pixel; empty when nothing does.
QString notWhole(const QImage& page)
{
    const auto found = LongDocument::bands(
        page, page.width() / 2, [](QRgb pixel) { return LongDocument::rowOf(QColor(pixel)).value_or(-1); });
    int next = 0;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const auto [row, height] = found[i];
        if (row < 0)
            continue;
        if (row != next)
            return QStringLiteral("row %1 where row %2 belongs").arg(row).arg(next);
        ++next;
        const bool inner = i > 0 && i + 1 < found.size() && found[i - 1].first >= 0 && found[i + 1].first >= 0;
        if (inner && height != LongDocument::rowHeight)
            return QStringLiteral("row %1 is %2 pixels tall").arg(row).arg(height);
    }
    if (next != LongDocument::defaultRows)
        return QStringLiteral("%1 rows of %2").arg(next).arg(LongDocument::defaultRows);
    return {};
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
        remote->moved = [this, origin](QPointF to) {
            input.run(QStringLiteral("seat - cursor set %1 %2").arg(origin.x() + to.x()).arg(origin.y() + to.y()));
        };
        // One press of sway's wheel buttons is one click.
        remote->wheeled = [this](int steps) {
            const QString press = QStringLiteral("seat - cursor press button%1").arg(steps > 0 ? 5 : 4);
            input.run(QStringList(std::abs(steps), press).join(QStringLiteral("; ")));
        };
        served = input.connected() && portal.serve();
    }

    PrivateBus bus;
    FakeDesktop portal;
    FakeScreenCast* cast;
    FakeRemoteDesktop* remote;
    ScreenCastSession session;
    StatusOr<ScreenCastStream> real;
    SwayCommands input;
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
        FakeRemoteDesktop& remote = *granted.remote;
        const ScreenCastStream& real = granted.real.value();

        QProcess document;
        document.start(QCoreApplication::applicationDirPath() + QStringLiteral("/long_document"));
        // Read beside the pointer, which sway draws.
        const QPoint watched(1400, 540);
        QTRY_VERIFY_WITH_TIMEOUT(rowOnScreen(watched), 20000);
        // Where the user left it, well off its top.
        QVERIFY(swaymsg(QStringLiteral("seat - cursor set 960 540")));
        const int shown = *rowOnScreen(watched);
        for (int click = 0; click < 20; ++click)
            QVERIFY(swaymsg(QStringLiteral("seat - cursor press button5")));
        QTRY_VERIFY_WITH_TIMEOUT(rowOnScreen(watched).value_or(0) > shown + 20, 10000);

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

        // Dropwell moved the pointer on the stream the portal granted alone.
        QVERIFY(!remote.motions.isEmpty());
        for (const auto& [node, x, y] : std::as_const(remote.motions)) {
            QCOMPARE(node, real.node);
            QVERIFY(QRectF(QPointF(), real.size).contains(x, y));
        }
        const QImage page(desk.world.folders().inbox() + QLatin1Char('/') + desk.inboxNames().front());
        QCOMPARE(notWhole(page), QString());
        QTRY_VERIFY(granted.input.allAnswered());
        QCOMPARE(granted.input.refusals(), QStringList());
        // Its window going away is a change that sway would send the next
        // test's cast, which must find the screen still.
        document.terminate();
        QVERIFY(document.waitForFinished());
        QTRY_VERIFY(!rowOnScreen(watched));
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
            // The other consumer takes every change up to the last the test
            // makes, which it knows by the pointer drawn where it was put:
            // after that the screen is still. The cast of the test before
            // may take a change for itself, so the pointer moves on, to a
            // new place each time, until one shows.
            std::unique_ptr<PipeWireFrameSource> other;
            QVERIFY(PipeWireFrameSource::open(granted.real.value(), 2, other).ok());
            const QImage bare = compositorPicture(output);
            bool shown = false;
            for (int moves = 0; moves < 25 && !shown; ++moves) {
                const QPoint at(10 + 10 * moves, 10);
                QVERIFY(swaymsg(QStringLiteral("seat - cursor set %1 %2").arg(at.x()).arg(at.y())));
                shown = QTest::qWaitFor(
                    [&] {
                        const StatusOr<QImage> seen = awaited(other->image(std::chrono::milliseconds(100)));
                        return seen.ok() && pointerDrawnAt(seen.value(), bare, at);
                    },
                    1000);
            }
            QVERIFY(shown);
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
