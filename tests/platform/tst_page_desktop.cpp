// Full-page capture's two desktop ports for real: the accessibility bus of
// the private session, long_document as the program whose page takes the
// keyboard and comes forward, and the X server's pointer grab, with a second
// X client playing the user's hand. The wheel is tried where real pages are
// scrolled whole (tst_browser_page).
#include "platform/linux/AtspiPageAccessibility.h"
#include "platform/x11/X11PageInput.h"
#include "platform/x11/X11ScreenCapture.h"
#include "platform/x11/XcbReply.h"
#include "tests/support/Awaited.h"
#include "tests/support/LongDocument.h"
#include "tests/support/OtherProgram.h"
#include "tests/support/PrivateBus.h"
#include "tests/support/WindowManager.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstring>
#include <memory>
#include <optional>

namespace {

// A program's start and its arrival on the accessibility bus, also under
// the sanitizers on a busy machine.
constexpr int appearsWithinMs = 20000;

// long_document, started for one test and killed with it. It says "focus
// area" or "focus page" whenever its scroll area or its page takes the
// keyboard.
class Document {
public:
    Document() { process_.start(QStringLiteral(LONG_DOCUMENT_PROGRAM)); }

    bool said(const QByteArray& line)
    {
        output_ += process_.readAllStandardOutput();
        return output_.split('\n').contains(line);
    }

    // Where the window is now, as the window list has it.
    [[nodiscard]] bool findWindow(ScreenCapture& capture)
    {
        const StatusOr<CaptureContent> content = awaited(capture.content());
        for (const CaptureWindow& listed : content.value().windows) {
            if (listed.pid == process_.processId() && listed.title == QLatin1String(LongDocument::title)) {
                window = listed;
                return true;
            }
        }
        return false;
    }

    CaptureWindow window;

private:
    QProcess process_;
    QByteArray output_;
};

// The accessibility bus's switch as a desktop that does not let programs
// change it shows it: off, and read-only.
class LockedSwitch final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.a11y.Status")
    Q_PROPERTY(bool IsEnabled READ isEnabled)
public:
    bool isEnabled() const { return false; }
};

// A window named by a property of the root window, none where it is not set.
xcb_window_t rootWindowProperty(const char* name)
{
    xcb_connection_t* c = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const auto atom = quietReply(c, xcb_intern_atom_reply, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name));
    const auto property = quietReply(c, xcb_get_property_reply,
        xcb_get_property(c, 0, root, atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE), XCB_ATOM_WINDOW, 0, 1));
    if (!property || xcb_get_property_value_length(property.get()) != sizeof(xcb_window_t))
        return XCB_NONE;
    return *static_cast<const xcb_window_t*>(xcb_get_property_value(property.get()));
}

} // namespace

class PageDesktopTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        capture = std::make_unique<X11ScreenCapture>();
        QVERIFY(awaited(capture->content()).ok());
        // Programs read the switch when they start: it is on before any starts.
        const Status enabled = accessibility.ensureEnabled();
        QVERIFY2(enabled.ok(), qPrintable(enabled.message()));
    }

    void ensureEnabledTellsTheUserWhatToDo_data()
    {
        QTest::addColumn<bool>("lockedSwitch");
        QTest::addColumn<QString>("cause");
        QTest::addRow("no accessibility bus") << false << QStringLiteral("org.a11y.Bus");
        QTest::addRow("a switch that cannot be changed") << true << QStringLiteral("IsEnabled");
    }

    void ensureEnabledTellsTheUserWhatToDo()
    {
        QFETCH(bool, lockedSwitch);
        QFETCH(QString, cause);
        // The switch answers on Dropwell's own connection: another one in this
        // thread could not answer while Dropwell waits for it.
        PrivateBus bus;
        QDBusConnection connection = bus.connect(QStringLiteral("session"));
        LockedSwitch status;
        if (lockedSwitch) {
            QVERIFY(connection.registerService(QStringLiteral("org.a11y.Bus")));
            QVERIFY(connection.registerObject(QStringLiteral("/org/a11y/bus"), &status, QDBusConnection::ExportAllProperties));
        }
        AtspiPageAccessibility unavailable(connection);
        // The cause is for the developer's log, the sentence for the user.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(cause)));
        const Status enabled = unavailable.ensureEnabled();
        QVERIFY(!enabled.ok());
        QVERIFY2(enabled.message().contains(QLatin1String("Turn on assistive technologies")), qPrintable(enabled.message()));
    }

    void focusPutsTheKeyboardOnThePageOfItsOwnProgramOnly()
    {
        Document document;
        QVERIFY(QTest::qWaitFor([&] { return document.findWindow(*capture); }, appearsWithinMs));
        QVERIFY(QTest::qWaitFor([&] { return accessibility.webAreaFrame(document.window).has_value(); }, appearsWithinMs));
        // A window of no known program: the one on the bus must not answer for it.
        CaptureWindow stranger = document.window;
        stranger.pid = qint64(1) << 30; // beyond Linux's largest process id
        accessibility.raise(stranger);
        accessibility.focus(stranger);
        QVERIFY(!accessibility.scrollToTop(stranger));
        QCOMPARE(accessibility.webAreaFrame(stranger), std::nullopt);

        input.activate(document.window);
        QTRY_VERIFY(document.said("focus area"));
        accessibility.focus(document.window);
        QTRY_VERIFY(document.said("focus page"));
    }

    void holdKeepsTheUsersHandAwayButNeverTakesAnothersGrab()
    {
        OtherProgram other(QRect(100, 100, 300, 200));
        QCOMPARE(other.grabPointer(), uint8_t(XCB_GRAB_STATUS_SUCCESS));
        QVERIFY(!input.hold());
        input.release();
        QCOMPARE(other.grabPointer(), uint8_t(XCB_GRAB_STATUS_SUCCESS)); // still its own
        other.ungrabPointer();

        input.warpPointer(other.centre());
        QVERIFY(input.hold());
        QVERIFY(input.hold()); // held already
        QCOMPARE(other.grabPointer(), uint8_t(XCB_GRAB_STATUS_ALREADY_GRABBED));
        other.click();
        QVERIFY(!other.wasClicked());
        input.release();
        input.release(); // nothing held: nothing happens
        other.click();
        QVERIFY(other.wasClicked());
        QCOMPARE(other.grabPointer(), uint8_t(XCB_GRAB_STATUS_SUCCESS));
        other.ungrabPointer();
    }

    void activateBringsTheWindowForward_data()
    {
        QTest::addColumn<bool>("windowManager");
        QTest::addRow("without a window manager") << false;
        QTest::addRow("with a window manager") << true;
    }

    void activateBringsTheWindowForward()
    {
        QFETCH(bool, windowManager);
        WindowManager manager;
        if (windowManager) {
            if (!manager.start())
                QSKIP("openbox is not installed (scripts/install-deps test)");
            // Managing from the start, so the window is framed when it appears.
            QTRY_VERIFY(rootWindowProperty("_NET_SUPPORTING_WM_CHECK") != XCB_NONE);
        }
        Document document;
        QVERIFY(QTest::qWaitFor([&] { return document.findWindow(*capture); }, appearsWithinMs));
        if (windowManager) // framed, with a title bar
            QTRY_VERIFY(document.findWindow(*capture) && document.window.frame.height() > LongDocument::windowSize.height());

        QWidget cover;
        cover.setWindowTitle(QStringLiteral("Cover"));
        cover.setGeometry(QRect(document.window.frame.topLeft(), LongDocument::windowSize));
        cover.show();
        QVERIFY(QTest::qWaitForWindowExposed(&cover));
        const auto frontmost = [this] { return awaited(capture->content()).value().windows.front().id; };
        QTRY_COMPARE(frontmost(), quint32(cover.winId()));

        input.activate(document.window);
        QTRY_COMPARE(frontmost(), document.window.id);
        if (windowManager)
            QTRY_COMPARE(rootWindowProperty("_NET_ACTIVE_WINDOW"), document.window.id);
    }

private:
    std::unique_ptr<X11ScreenCapture> capture;
    AtspiPageAccessibility accessibility;
    X11PageInput input;
};

QTEST_MAIN(PageDesktopTest)
#include "tst_page_desktop.moc"
