// The popover on a real X server: its header, message, banner, empty states
// and footer follow the model; and the words of a row and the tray icon.
#include "tests/ui/PopoverFixture.h"
#include "ui/InboxRowText.h"
#include "ui/RelativeTime.h"
#include "ui/TrayIcon.h"
#include "ui/inbox/InboxListModel.h"
#include "ui/inbox/InboxTableView.h"
#include "ui/popover/CaptureBar.h"
#include "ui/popover/PopoverHeader.h"
#include "ui/popover/SymbolButton.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

// Whether the popover's window holds this _NET_WM_STATE hint, as the task list reads it.
bool holds(const PopoverWindow& popover, const char* hint)
{
    auto* connection = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const auto intern = [connection](const char* name) {
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name), nullptr), &std::free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    };
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> property(xcb_get_property_reply(connection,
        xcb_get_property(connection, 0, xcb_window_t(popover.winId()), intern("_NET_WM_STATE"), XCB_ATOM_ATOM, 0, 64), nullptr),
        &std::free);
    const auto* atoms = property ? static_cast<const xcb_atom_t*>(xcb_get_property_value(property.get())) : nullptr;
    const auto* end = atoms ? atoms + xcb_get_property_value_length(property.get()) / 4 : nullptr;
    return std::find(atoms, end, intern(hint)) != end;
}

class PopoverTest : public QObject, private PopoverFixture {
    Q_OBJECT
private Q_SLOTS:
    void init() { makeWorld(); }
    void cleanup() { dropAll(); }

    // Times are rounded to the nearest unit, and up into the next one where it
    // reaches it; "now" rather than "in 0 sec.". A recording is told by its
    // extension in any case, GNOME Shell's too, whatever folder it came from.
    // The tray's tooltip counts the Inbox and, while recording, says how to stop.
    // The header counts selected files only in selection mode, and before those due tonight.
    void wordsOfTimesRowsTrayAndHeader()
    {
        const QDateTime now(QDate(2026, 12, 6), QTime(12, 0), Qt::UTC);
        const RelativeTime relative(QStringLiteral("en_US"));
        const std::pair<qint64, QString> times[] {{48 * 3600 - 5, QStringLiteral("in 2 days")}, {-47 * 3600, QStringLiteral("2 days ago")},
            {59 * 60 + 40, QStringLiteral("in 1 hr.")}, {0, QStringLiteral("now")}};
        for (const auto& [seconds, text] : times)
            QCOMPARE(relative.format(now.addSecs(seconds), now), text);
        const std::pair<QString, FileSource> recordings[] {{QStringLiteral("clip.MOV"), FileSource::Downloads},
            {QStringLiteral("Screencast From 2026-12-06 10-00-00.webm"), FileSource::Screenshot}};
        for (const auto& [name, source] : recordings) {
            TrackedFile file = recordAt(QStringLiteral("/in/") + name, FileFolder::Inbox, now.addSecs(-2 * 3600));
            file.source = source;
            file.expiresAt = now.addDays(6).addSecs(60);
            QCOMPARE(InboxRowText::meta(file, now, relative), QStringLiteral("2 hr. ago \u00B7 Recording \u00B7 expires in 6 days"));
        }
        QCOMPARE(TrayIcon::helpText(0, false), QStringLiteral("Dropwell"));
        QCOMPARE(TrayIcon::helpText(12, false), QStringLiteral("12 in inbox"));
        QCOMPARE(TrayIcon::helpText(12, true), QStringLiteral("Recording \u2014 Esc or click Inbox then Stop"));
        QCOMPARE(PopoverHeader::countText(false, 4, 12, 0), QStringLiteral("12"));
        QCOMPARE(PopoverHeader::countText(true, 1, 12, 3), QStringLiteral("1 selected"));
    }

    void openingStartsTheModelAndListsTheInbox()
    {
        writeFile(world->folders().inbox() + QStringLiteral("/a.txt"));
        model->expiry().setScreenshotExpiryHours(12);
        writeFile(world->folders().inbox() + QStringLiteral("/Screenshot 1.png"));
        openPopover();
        QCOMPARE(popover->table().model()->rowCount(), 2);
        QVERIFY(labelWithText(QStringLiteral("2 | 1 tonight")));

        // Times follow the clock while the popover is up, and only then.
        QVERIFY(popover->followsClock());
        world->clock.advance(3 * 60);
        QSignalSpy repainted(&popover->table().listModel(), &QAbstractItemModel::dataChanged);
        popover->followClock();
        QCOMPARE(repainted.count(), 1);
        QVERIFY(popover->table().model()->index(0, 0).data(InboxListModel::MetaRole).toString().startsWith(QStringLiteral("3 min. ago")));
        popover->hide();
        QVERIFY(!popover->followsClock());
    }

    void messagesEmptyStatesFooterAndCommandsMenu()
    {
        openPopover();
        QVERIFY(labelWithText(QStringLiteral("Inbox is empty"))->isVisible());
        QVERIFY(labelWithText(QStringLiteral("Capture above, or press Print Screen."))->isVisible());
        model->setToast(QStringLiteral("Could not keep 'a.txt'."));
        QLabel* toast = labelWithText(QStringLiteral("Could not keep 'a.txt'."));
        QVERIFY(toast && toast->isVisible());
        QPushButton* quit = called<QPushButton>(QStringLiteral("Quit"));
        QVERIFY(quit && !quit->isVisible());
        model->setToast(QStringLiteral("Restart needed: Quit and open Dropwell again."));
        QVERIFY(quit->isVisible());
        QTest::mouseClick(footerButton(QStringLiteral("Dismiss")), Qt::LeftButton);
        QVERIFY(!model->toast());
        QVERIFY(!toast->isVisible());

        QLabel* banner = labelWithText(QStringLiteral("Screenshots are not going to Dropwell."));
        QVERIFY(banner && !banner->isVisible()); // no tool to drift in this world

        writeFile(world->folders().inbox() + QStringLiteral("/report.pdf"));
        QVERIFY(world->timers.settle(TestWorld::inboxQuietPeriod));
        QTRY_VERIFY(popover->table().isVisible());
        QTest::keyClicks(&popover->searchField(), QStringLiteral("zzz"));
        QCOMPARE(model->search(), QStringLiteral("zzz"));
        QVERIFY(labelWithText(QStringLiteral("No matching files"))->isVisible());
        QVERIFY(!labelWithText(QStringLiteral("Capture above, or press Print Screen."))->isVisible());
        popover->searchField().clear();
        QVERIFY(popover->table().isVisible());

        const QStringList footer {QStringLiteral("Keep"), QStringLiteral("Copy"), QStringLiteral("Move"),
            QStringLiteral("Preview"), QStringLiteral("Reveal"), QStringLiteral("Delete")};
        // What a click on an enabled one does, Keep for one, is the end-to-end tray_popover's.
        for (const QString& title : footer)
            QVERIFY2(footerButton(title) && !footerButton(title)->isEnabled(), qPrintable(title));
        model->selectAllVisible();
        for (const QString& title : footer)
            QVERIFY(footerButton(title)->isEnabled());

        const auto menu = popover->header().commandsMenu(); // owns the actions
        QCOMPARE(menu->actions().at(1)->text(), QStringLiteral("Undo last expiry"));
        QVERIFY(!menu->actions().at(1)->isEnabled()); // nothing expired yet
        model->expiry().pauseFor24Hours();
        QVERIFY(titles(*popover->header().commandsMenu()).contains(QStringLiteral("Resume expiry")));
    }

    void recordControlsFollowTheRecording()
    {
        openPopover();
        CaptureBar& bar = popover->captureBar();
        QSignalSpy records(popover.get(), &PopoverWindow::recordRequested);
        QSignalSpy stops(popover.get(), &PopoverWindow::stopRecordingRequested);
        QSignalSpy toggles(popover.get(), &PopoverWindow::microphoneToggleRequested);
        QCOMPARE(titles(bar.recordMenu()), QStringList({QStringLiteral("Record display"), QStringLiteral("Record window"), QStringLiteral("Microphone off")}));
        model->changeSettings([](AppSettings& s) { s.recordWithMic = true; });
        QCOMPARE(titles(bar.recordMenu()).last(), QStringLiteral("Microphone on"));
        bar.recordMenu().actions().at(1)->trigger();
        bar.recordMenu().actions().at(2)->trigger();
        QCOMPARE(records.takeFirst().at(0).toBool(), true);
        QCOMPARE(toggles.count(), 1);

        QTest::mouseClick(&bar.recordButton(), Qt::LeftButton);
        QCOMPARE(records.takeFirst().at(0).toBool(), false); // the display

        popover->setRecording(true);
        QCOMPARE(bar.recordButton().toolTip(), QStringLiteral("Stop"));
        QVERIFY(!bar.recordMenuButton().isEnabled());
        QTest::mouseClick(&bar.recordButton(), Qt::LeftButton);
        QCOMPARE(stops.count(), 1);
        QVERIFY(records.isEmpty());

        popover->setRecording(false);
        QCOMPARE(bar.recordButton().toolTip(), QStringLiteral("Record"));
        QVERIFY(bar.recordMenuButton().isEnabled());

        // The hint names the button under the pointer, and nothing once the
        // pointer has gone: also where a capture hid the popover under it.
        QEvent enter(QEvent::Enter);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&bar.recordMenuButton(), &enter);
        QCoreApplication::sendEvent(&bar.recordButton(), &enter);
        QCoreApplication::sendEvent(&bar.recordMenuButton(), &leave); // late, from the button left before
        QCOMPARE(bar.hint(), QStringLiteral("Record"));
        popover->hide();
        popover->popUp(QRect());
        QCOMPARE(bar.hint(), QString());
    }

    void appearanceRestylesAnOpenPopover()
    {
        writeFile(world->folders().inbox() + QStringLiteral("/a file with a long name.txt"));
        model->setDesktopPrefersDark(true); // followed, as by new users
        openPopover();
        const auto background = [this] { return popover->grab().toImage().pixelColor(4, 300); };
        const QColor dark = background();
        // The name being typed reads light on dark in a dark appearance.
        model->setSelectedIDs({model->visibleInbox().front().id});
        model->beginRename();
        QLineEdit* field = nullptr;
        QTRY_VERIFY((field = popover->findChild<QLineEdit*>(QStringLiteral("rename"))));
        const QColor fieldBackground = field->grab().toImage().pixelColor(field->width() - 4, field->height() / 2);
        QVERIFY2(fieldBackground.lightness() < 90, qPrintable(fieldBackground.name()));
        QVERIFY(field->palette().color(QPalette::Text).lightness() > 200);
        model->setDesktopPrefersDark(false); // the desktop turns light
        QVERIFY(background().lightness() > dark.lightness() + 100);
        QVERIFY(popover->header().palette().color(QPalette::WindowText).lightness() < 100); // dark text on light
    }

    // Standing in for a missing tray it is the way in, listed like any window;
    // the popover the tray's icon opens is not. That it starts the model is
    // the end-to-end single_instance's; closing it and bringing it back are
    // tray_after_fallback's.
    void standsInForTheTrayAsAWindow()
    {
        popover = std::make_unique<PopoverWindow>(*model, desktop->windows());
        popover->showAsWindow();
        QVERIFY(QTest::qWaitForWindowExposed(popover.get()));
        QVERIFY(popover->isStandIn()); // the desktop decorates it
        QCOMPARE(popover->windowType(), Qt::Window); // a task, where a tool window is none

        // Once a tray has come, its icon opens the popover as usual.
        const QRect screen = popover->screen()->availableGeometry();
        const QRect icon(screen.right() - 30, screen.top(), 22, 22);
        popover->popUp(icon);
        QVERIFY(QTest::qWaitForWindowExposed(popover.get()));
        QVERIFY(!popover->isStandIn());
        QCOMPARE(popover->geometry().top(), icon.bottom() + 4); // under the icon, not over it
        QVERIFY(holds(*popover, "_NET_WM_STATE_SKIP_TASKBAR") && holds(*popover, "_NET_WM_STATE_SKIP_PAGER"));
        // And back: a window again, listed again.
        popover->showAsWindow();
        QVERIFY(QTest::qWaitForWindowExposed(popover.get()));
        QVERIFY(!holds(*popover, "_NET_WM_STATE_SKIP_TASKBAR"));
    }

private:
    // The popover's first widget of this type whose text or tool tip this is.
    template <typename T>
    T* called(const QString& text) const
    {
        for (T* widget : popover->findChildren<T*>()) {
            if (widget->text() == text || widget->toolTip() == text)
                return widget;
        }
        return nullptr;
    }
    SymbolButton* footerButton(const QString& title) const { return called<SymbolButton>(title); }
    QLabel* labelWithText(const QString& text) const { return called<QLabel>(text); }
};

QTEST_MAIN(PopoverTest)
#include "tst_popover.moc"
