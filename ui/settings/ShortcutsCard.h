#pragma once

#include "platform/DesktopShortcuts.h"
#include "ui/settings/SettingsCard.h"

#include <vector>

class KeyCaptureButton;
class QGridLayout;
class QLabel;
class QPushButton;

// What the card sets keys with: the desktop's store, where Dropwell can write
// it, and the `dropwell` the keys run.
struct ShortcutsSetup {
    DesktopShortcuts* store = nullptr;
    QString program = QStringLiteral("dropwell");
};

// "Keyboard shortcuts": a key of the desktop for each of Dropwell's captures
// and the recording, set and cleared where the desktop keeps its own. On a
// desktop whose keys Dropwell cannot set, the commands to bind by hand.
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
    void addRow(ShortcutCommand command);
    void addCommandLine(ShortcutCommand command, const QString& program);
    void change(const Status& changed);
    void refresh();

    DesktopShortcuts* shortcuts_;
    QGridLayout* grid_ = nullptr;
    std::vector<Row> rows_;
    QLabel* problem_ = nullptr;
};
