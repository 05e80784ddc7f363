// The backend a session gets, and what a session without screen capture
// answers: every capture and recording ends with one message that says why.
#include "model/AppModel.h"
#include "platform/FrameSource.h"
#include "platform/GlobalEscape.h"
#include "tests/support/Awaited.h"
#include "tests/support/BackendCaptureDesk.h"

#include <QTest>

class DesktopBackendTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void chosenByWhatQtConnectedTo();
    void aSessionWithoutCaptureSaysWhyOnEveryCapture();
};

void DesktopBackendTest::chosenByWhatQtConnectedTo()
{
    QCOMPARE(chooseDesktopBackend(QStringLiteral("xcb"), true), BackendKind::X11);
    QCOMPARE(chooseDesktopBackend(QStringLiteral("wayland"), false), BackendKind::Portal);
    QCOMPARE(chooseDesktopBackend(QStringLiteral("xcb"), false), BackendKind::NoCapture);
    QCOMPARE(chooseDesktopBackend(QStringLiteral("offscreen"), true), BackendKind::NoCapture);
}

void DesktopBackendTest::aSessionWithoutCaptureSaysWhyOnEveryCapture()
{
    SilentComputer sound;
    BackendCaptureDesk desk([](DefaultsStore&) { return openDesktopBackend(); }, sound); // offscreen here
    DesktopBackend& desktop = *desk.desktop;
    const QString why = QStringLiteral("Screen capture needs an X11 or a Wayland session.");
    QVERIFY(!desktop.pageInput());
    QVERIFY(!desktop.pageCasts());
    QVERIFY(!desktop.systemTray());
    QVERIFY(!desktop.globalEscape().grab());
    QCOMPARE(awaited(desktop.frameSources().openDisplay({}, 3)).status().message(), why);

    AppModel& model = *desk.model;
    CaptureService& service = desk.service;
    for (const CaptureKind kind : {CaptureKind::Visible, CaptureKind::Region, CaptureKind::Window}) {
        model.setToast(std::nullopt);
        service.capture(kind);
        QTRY_COMPARE(model.toast(), why);
        QTRY_VERIFY(!service.isBusy());
    }
    // No page input either, which is said before anything else is tried.
    model.setToast(std::nullopt);
    service.capture(CaptureKind::Page);
    QTRY_VERIFY(model.toast() && model.toast()->contains(QStringLiteral("scroll other windows")));
    model.setToast(std::nullopt);
    service.record(false, false);
    QTRY_COMPARE(model.toast(), why);
    QVERIFY(!service.isRecording());
    QVERIFY(desk.inboxNames().isEmpty());
}

QTEST_MAIN(DesktopBackendTest)
#include "tst_desktop_backend.moc"
