#pragma once

#include <QWidget>

#include <memory>

class AppModel;
class QLabel;
class QMenu;
class QPushButton;
class SymbolButton;

// The popover's top row: the cube, "Inbox", the count pill, Select/Done and
// the menu of commands.
class PopoverHeader : public QWidget {
    Q_OBJECT
public:
    explicit PopoverHeader(AppModel& model, QWidget* parent = nullptr);

    // "3 selected", "12 | 2 tonight", "12".
    static QString countText(bool selecting, int selected, int inboxCount, int tonight);
    void refresh();
    // The commands of the "…" button, as they stand now.
    std::unique_ptr<QMenu> commandsMenu();

Q_SIGNALS:
    void settingsRequested();
    void quitRequested();

private:
    void showCommands();

    AppModel& model_;
    QLabel* pill_;
    QPushButton* selectButton_;
    SymbolButton* commands_;
};
