#pragma once

#include "platform/DesktopBackend.h"
#include "platform/DesktopWindows.h"
#include "tests/support/TestSupport.h"
#include "ui/popover/PopoverWindow.h"

#include <QMenu>
#include <QTest>

#include <memory>

// A model over a temporary world and, once opened, its popover: made afresh
// for each test by the test's init() and dropped by its cleanup().
struct PopoverFixture {
    void makeWorld()
    {
        world = std::make_unique<TestWorld>();
        model = world->makeModel();
    }
    void openPopover()
    {
        popover = std::make_unique<PopoverWindow>(*model, desktop->windows());
        popover->popUp(QRect());
        QVERIFY(QTest::qWaitForWindowActive(popover.get()));
    }
    void openAfresh()
    {
        makeWorld();
        openPopover();
    }
    void dropAll()
    {
        popover.reset();
        model.reset();
        world.reset();
    }
    // Lands the files in this order, so the last one is listed first.
    void land(const QStringList& names)
    {
        for (const QString& name : names) {
            landFile(*world, *model, name);
            world->clock.advance(1);
        }
    }

    // The menu's entries as the user reads them, "--" for a separator.
    static QStringList titles(const QMenu& menu)
    {
        QStringList shown;
        for (const QAction* action : menu.actions())
            shown.append(action->isSeparator() ? QStringLiteral("--") : action->text());
        return shown;
    }

    // The session's own: the window hints are real under X11.
    std::unique_ptr<DesktopBackend> desktop = openDesktopBackend();
    std::unique_ptr<TestWorld> world;
    std::unique_ptr<AppModel> model;
    std::unique_ptr<PopoverWindow> popover;
};
