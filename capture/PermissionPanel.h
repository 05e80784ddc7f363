#pragma once

#include <QWidget>

// The window that guides the user through allowing screen capture when the
// desktop keeps refusing it: open the desktop's settings, then relaunch.
class PermissionPanel : public QWidget {
    Q_OBJECT
public:
    explicit PermissionPanel(QWidget* parent = nullptr);

    void present();

Q_SIGNALS:
    void openSettingsRequested();
    void relaunchRequested();
};
