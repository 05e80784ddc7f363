#pragma once

#include <QWidget>

class AppModel;
class QLabel;
class QListWidget;
class QPushButton;
class QWidget;

// The window the tray icon opens: the Inbox with its expiry times, the
// one-line message, and Keep, Delete and Undo last expiry. Showing it starts
// the model, the first time and every time after.
class PopoverWindow : public QWidget {
    Q_OBJECT
public:
    explicit PopoverWindow(AppModel& model, QWidget* parent = nullptr);
    ~PopoverWindow() override;

    // Opens next to the tray icon, or at the pointer when the tray gives no place.
    void popUp(const QRect& trayIcon);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void rebuildList();
    void syncSelectionToModel();
    void applyModelSelection();
    void refreshHeader();
    void refreshToast();

    AppModel& model_;
    QLabel* header_;
    QWidget* toastRow_;
    QLabel* toastText_;
    QListWidget* list_;
    QPushButton* keepButton_;
    QPushButton* deleteButton_;
    QPushButton* undoButton_;
};
