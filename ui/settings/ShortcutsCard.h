#pragma once

#include "platform/ChosenShortcuts.h"
#include "platform/DesktopShortcuts.h"
#include "ui/settings/SettingsCard.h"

#include <vector>

class KeyCaptureButton;
class QGridLayout;
class QLabel;
class QPushButton;

// What the card sets keys with: the desktop's store, where Dropwell can write
// it, else keys the desktop lets the user choose, and the `dropwell` the keys
// run.
struct ShortcutsSetup {
    DesktopShortcuts* store = nullptr;
    ChosenShortcuts* chosen = nullptr;
    QString program = QStringLiteral("dropwell");
};

// "Keyboard shortcuts": a key of the desktop for each of Dropwell's captures
// and the recording, set and cleared where the desktop keeps its own; or,
// where the desktop asks the user itself, its words for the keys chosen. On a
// desktop that offers neither, the commands to bind by hand.
class ShortcutsCard : public SettingsCard {
    Q_OBJECT
public:
    explicit ShortcutsCard(const ShortcutsSetup& setup, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Row {
        ShortcutCommand command;
        KeyCaptureButton* key;
        QPushButton* clear;
    };
    void addGrid();
    void addRow(ShortcutCommand command);
    void addCommandLine(ShortcutCommand command, const QString& program);
    void addChosen(ChosenShortcuts* chosen);
    void showChosen();
    void change(const Status& changed);
    void refresh();

    DesktopShortcuts* shortcuts_;
    ChosenShortcuts* chosen_ = nullptr;
    QGridLayout* grid_ = nullptr;
    std::vector<Row> rows_;
    std::vector<std::pair<ShortcutCommand, QLabel*>> triggers_;
    QLabel* problem_ = nullptr;
};
