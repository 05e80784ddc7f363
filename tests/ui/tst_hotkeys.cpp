// The Inbox keys: letters as the user's layout marks them, acting only in the
// popover, and leaving text fields their own keys.
#include "tests/ui/PopoverFixture.h"
#include "ui/InboxHotkeys.h"
#include "ui/inbox/InboxTableView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

namespace {

class KeyPresses : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() != Qt::Key_Control)
            ++count;
        return false;
    }
};

} // namespace

class HotkeysTest : public QObject, private PopoverFixture {
    Q_OBJECT
private Q_SLOTS:
    void init() { openAfresh(); }
    void cleanup() { dropAll(); }

    void lettersOfTheRealLayout_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QStringList>("others"); // keys at US A's or C's place, or near
        QTest::addColumn<QString>("a"); // what selects all
        QTest::addColumn<QString>("c"); // what copies
        QTest::addRow("French") << QStringLiteral("fr") << QStringList{QStringLiteral("q")} << QStringLiteral("a")
                                << QStringLiteral("c");
        QTest::addRow("Russian") << QStringLiteral("ru") << QStringList{QStringLiteral("Cyrillic_shorti")}
                                 << QStringLiteral("Cyrillic_ef") << QStringLiteral("Cyrillic_es");
    }
    // Real key presses through the X server, so that Qt's own reading of the
    // layout is part of what is tested.
    void lettersOfTheRealLayout()
    {
        QFETCH(QString, layout);
        QFETCH(QStringList, others);
        QFETCH(QString, a);
        QFETCH(QString, c);
        const auto run = [](const QString& program, const QStringList& arguments) {
            QProcess process;
            process.start(program, arguments);
            return process.waitForFinished() && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        };
        QVERIFY(run(QStringLiteral("setxkbmap"), {layout}));
        const auto restore = qScopeGuard([&] { run(QStringLiteral("setxkbmap"), {QStringLiteral("us")}); });
        land({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
        model->setSelectedIDs({model->visibleInbox().front().id});
        popover->table().setFocus();
        KeyPresses presses;
        popover->table().installEventFilter(&presses);
        const auto press = [&](const QString& keysym) {
            QVERIFY(run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("ctrl+") + keysym}));
        };
        for (const QString& other : others)
            press(other);
        QTRY_COMPARE(presses.count, others.size());
        QCOMPARE(model->selectedIDs().size(), 1);
        QVERIFY(world->clipboard.files.isEmpty());
        press(a);
        QTRY_COMPARE(model->selectedIDs().size(), 2);
        QVERIFY(model->isSelecting());
        press(c);
        QTRY_COMPARE(world->clipboard.files.size(), 2);
    }

    void spacePreviewsAndCloses()
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

    void escapeStepsBackAndTextFieldsAndOtherWindowsKeepTheirKeys()
    {
        land({QStringLiteral("a.txt")});
        model->selectAllVisible();
        model->beginRename();
        QTRY_VERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
        qobject_cast<QLineEdit*>(QApplication::focusWidget())->setText(QStringLiteral("other"));
        const auto escape = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); };
        escape(); // the rename is cancelled, the name typed dropped
        QTRY_VERIFY(!model->renamingID());
        QCOMPARE(model->selectedIDs().size(), 1);
        escape(); // then the selection
        QVERIFY(model->selectedIDs().isEmpty());
        escape(); // nothing left to undo: still used up
        QVERIFY(popover->isVisible());

        model->selectAllVisible();
        QLineEdit& search = popover->searchField();
        press(&search, Qt::Key_Space);
        press(&search, Qt::Key_A);
        press(&search, Qt::Key_Backspace);
        QCOMPARE(search.text(), QStringLiteral(" "));
        press(&search, Qt::Key_A, Qt::ControlModifier);
        press(&search, Qt::Key_C, Qt::ControlModifier);
        // Another window of Dropwell's, with the keyboard focus on a control of its own.
        QPushButton settings;
        settings.show();
        settings.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&settings));
        settings.setFocus();
        QTest::keyClick(&settings, Qt::Key_Backspace);
        QTest::keyClick(&settings, Qt::Key_Space);
        QVERIFY(world->clipboard.files.isEmpty());
        QVERIFY(!world->previewer.visible);
        QCOMPARE(namesIn(world->folders().inbox()), QStringList(QStringLiteral("a.txt")));
    }

    void eraseAndControlShortcuts()
    {
        land({QStringLiteral("a.png"), QStringLiteral("b.txt"), QStringLiteral("c.txt"), QStringLiteral("d.txt")});
        model->setSelectedIDs({model->visibleInbox().at(0).id});
        press(&popover->table(), Qt::Key_Backspace);
        model->setSelectedIDs({model->visibleInbox().at(0).id});
        press(&popover->table(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(namesIn(world->folders().inbox()), QStringList({QStringLiteral("a.png"), QStringLiteral("b.txt")}));
        QCOMPARE(namesIn(world->trashFiles()).size(), 2);

        // Copy would take the first file, as nothing is selected now.
        press(&popover->table(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(world->clipboard.files.isEmpty()); // Ctrl+Shift+C is not copy
        press(&popover->table(), Qt::Key_Return);
        QCOMPARE(model->renamingID(), model->visibleInbox().front().id);
    }

private:
    void press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        target->setFocus();
        QTest::keyClick(target, key, modifiers);
    }
};

QTEST_MAIN(HotkeysTest)
#include "tst_hotkeys.moc"
