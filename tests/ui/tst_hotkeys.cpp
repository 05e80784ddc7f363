// The Inbox keys: matched by their place on the keyboard, acting only in the
// popover, and leaving text fields their own keys.
#include "tests/support/TestSupport.h"
#include "ui/InboxHotkeys.h"
#include "ui/inbox/InboxTableView.h"
#include "ui/popover/PopoverWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

class HotkeysTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void physicalKeys_data();
    void physicalKeys();
    void spacePreviewsAndCloses();
    void textFieldsKeepTheirKeys();
    void eraseDeletesTheSelection();
    void escapeStepsBack();
    void controlShortcuts();
    void otherWindowsAreLeftAlone();

private:
    void press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = {});
    void land(const QStringList& names);

    std::unique_ptr<TestWorld> world;
    std::unique_ptr<AppModel> model;
    std::unique_ptr<PopoverWindow> popover;
};

void HotkeysTest::init()
{
    world = std::make_unique<TestWorld>();
    model = world->makeModel();
    popover = std::make_unique<PopoverWindow>(*model);
    popover->popUp(QRect());
    QVERIFY(QTest::qWaitForWindowActive(popover.get()));
}

void HotkeysTest::cleanup()
{
    popover.reset();
    model.reset();
    world.reset();
}

void HotkeysTest::land(const QStringList& names)
{
    for (const QString& name : names) {
        landFile(*world, *model, name);
        world->clock.advance(1); // the last one is listed first
    }
}

void HotkeysTest::press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    target->setFocus();
    QTest::keyClick(target, key, modifiers);
}

void HotkeysTest::physicalKeys_data()
{
    QTest::addColumn<quint32>("code");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    // On a French keyboard the key where A sits on a US one types Q.
    QTest::addRow("A place on AZERTY") << quint32(38) << int(Qt::Key_Q) << int(InboxHotkeys::Key::A);
    QTest::addRow("C place on Dvorak") << quint32(54) << int(Qt::Key_J) << int(InboxHotkeys::Key::C);
    QTest::addRow("Backspace") << quint32(22) << int(Qt::Key_Backspace) << int(InboxHotkeys::Key::Erase);
    QTest::addRow("Delete") << quint32(119) << int(Qt::Key_Delete) << int(InboxHotkeys::Key::Erase);
    QTest::addRow("US Q is not A") << quint32(24) << int(Qt::Key_A) << int(InboxHotkeys::Key::None);
    QTest::addRow("synthetic: by meaning") << quint32(0) << int(Qt::Key_Space) << int(InboxHotkeys::Key::Space);
}

void HotkeysTest::physicalKeys()
{
    QFETCH(quint32, code);
    QFETCH(int, key);
    QFETCH(int, expected);
    const QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, code, 0, 0);
    QCOMPARE(int(InboxHotkeys::physicalKey(event)), expected);
}

void HotkeysTest::spacePreviewsAndCloses()
{
    press(&popover->table(), Qt::Key_Space); // an empty list: nothing
    QVERIFY(!world->previewer.visible);
    land({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    press(&popover->table(), Qt::Key_Space);
    QVERIFY(world->previewer.visible);
    QCOMPARE(world->previewer.shown, QStringList(world->folders().inbox() + QStringLiteral("/b.txt")));
    QCOMPARE(model->selectedFiles().size(), 1); // the first visible file became the selection
    // While the preview shows, Space closes it even from the search field.
    press(&popover->searchField(), Qt::Key_Space);
    QVERIFY(!world->previewer.visible);
    QCOMPARE(popover->searchField().text(), QString());
}

void HotkeysTest::textFieldsKeepTheirKeys()
{
    land({QStringLiteral("a.txt")});
    model->selectAllVisible();
    QLineEdit& search = popover->searchField();
    press(&search, Qt::Key_Space);
    press(&search, Qt::Key_A);
    press(&search, Qt::Key_Backspace);
    QCOMPARE(search.text(), QStringLiteral(" "));
    press(&search, Qt::Key_A, Qt::ControlModifier);
    press(&search, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(world->clipboard.files.isEmpty());
    QVERIFY(!world->previewer.visible);
    QCOMPARE(namesIn(world->folders().inbox()), QStringList(QStringLiteral("a.txt")));
}

void HotkeysTest::eraseDeletesTheSelection()
{
    land({QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt")});
    model->setSelectedIDs({model->visibleInbox().at(0).id});
    press(&popover->table(), Qt::Key_Backspace);
    model->setSelectedIDs({model->visibleInbox().at(0).id});
    press(&popover->table(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(namesIn(world->folders().inbox()), QStringList(QStringLiteral("a.txt")));
    QCOMPARE(namesIn(world->trashFiles()).size(), 2);
}

void HotkeysTest::escapeStepsBack()
{
    land({QStringLiteral("a.txt")});
    model->selectAllVisible();
    model->beginRename();
    QTRY_VERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
    const auto escape = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); };
    escape(); // the rename is cancelled
    QTRY_VERIFY(!model->renamingID());
    QCOMPARE(model->selectedIDs().size(), 1);
    escape(); // then the selection
    QVERIFY(model->selectedIDs().isEmpty());
    escape(); // nothing left to undo: still used up
    QVERIFY(popover->isVisible());
    QCOMPARE(namesIn(world->folders().inbox()), QStringList(QStringLiteral("a.txt")));
}

void HotkeysTest::controlShortcuts()
{
    land({QStringLiteral("a.png"), QStringLiteral("b.txt")});
    press(&popover->table(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(model->selectedIDs().size(), 2);
    QVERIFY(model->isSelecting());
    press(&popover->table(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(world->clipboard.files.isEmpty()); // Ctrl+Shift+C is not copy
    press(&popover->table(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(world->clipboard.files.size(), 2);
    model->setSelectedIDs({model->visibleInbox().front().id});
    press(&popover->table(), Qt::Key_Return);
    QCOMPARE(model->renamingID(), model->visibleInbox().front().id);
}

void HotkeysTest::otherWindowsAreLeftAlone()
{
    land({QStringLiteral("a.txt")});
    model->selectAllVisible();
    QWidget settings;
    settings.show();
    QVERIFY(QTest::qWaitForWindowExposed(&settings));
    QTest::keyClick(&settings, Qt::Key_Backspace);
    QTest::keyClick(&settings, Qt::Key_Space);
    QCOMPARE(namesIn(world->folders().inbox()), QStringList(QStringLiteral("a.txt")));
    QVERIFY(!world->previewer.visible);
}

QTEST_MAIN(HotkeysTest)
#include "tst_hotkeys.moc"
