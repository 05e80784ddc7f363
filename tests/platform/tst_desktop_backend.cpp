// What a session without screen capture answers: every capture and recording
// ends with one message that says why. Which backend an X11 or a Wayland
// session gets, the end-to-end tests show by capturing in one.
#include "model/AppModel.h"
#include "platform/FrameSource.h"
#include "platform/GlobalEscape.h"
#include "tests/support/Awaited.h"
#include "tests/support/BackendCaptureDesk.h"

#include <QTest>

class DesktopBackendTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aSessionWithoutCaptureSaysWhyOnEveryCapture()
    {
        SilentComputer sound;
        BackendCaptureDesk desk([](DefaultsStore&) { return openDesktopBackend(); }, sound); // offscreen here
        const QString why = QStringLiteral("Screen capture needs an X11 or a Wayland session.");
        QVERIFY(!desk.desktop->globalEscape().grab());
        QCOMPARE(awaited(desk.desktop->frameSources().openDisplay({}, 3)).status().message(), why);

        const auto answer = [&](const std::function<void()>& act) {
            desk.model->setToast(std::nullopt);
            act();
            const bool over = QTest::qWaitFor([&] { return desk.model->toast() && !desk.service.isBusy(); });
            return over ? *desk.model->toast() : QStringLiteral("(no message, or still busy)");
        };
        for (const CaptureKind kind : {CaptureKind::Visible, CaptureKind::Region, CaptureKind::Window})
            QCOMPARE(answer([&] { desk.service.capture(kind); }), why);
        // No page input either, which is said before anything else is tried.
        QVERIFY(answer([&] { desk.service.capture(CaptureKind::Page); }).contains(QStringLiteral("scroll other windows")));
        QCOMPARE(answer([&] { desk.service.record(false, false); }), why);
        QVERIFY(!desk.service.isRecording());
        QVERIFY(desk.inboxNames().isEmpty());
    }
};

QTEST_MAIN(DesktopBackendTest)
#include "tst_desktop_backend.moc"
