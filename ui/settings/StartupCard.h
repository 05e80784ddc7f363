#pragma once

#include "ui/settings/SettingsCard.h"

#include <QFileSystemWatcher>

class AppModel;
class Autostart;
class ToggleRow;

// "Start at login": Dropwell keeps the desktop and Downloads empty only while
// it runs. The switch shows the autostart entry as it is on disk, also after
// it was edited or removed by hand.
class StartupCard : public SettingsCard {
    Q_OBJECT
public:
    StartupCard(AppModel& model, Autostart& autostart, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void flip(bool on);
    void refresh();

    AppModel& model_;
    Autostart& autostart_;
    ToggleRow* toggle_;
    QFileSystemWatcher watcher_;
};
