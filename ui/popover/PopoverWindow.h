#pragma once

#include "core/CaptureKind.h"
#include "ui/Theme.h"

#include <QTimer>
#include <QWidget>

class AppModel;
class DesktopWindows;
class CaptureBar;
class EmptyInbox;
class InboxTableView;
class PopoverHeader;
class QLineEdit;
class QStackedWidget;

// The window the tray icon opens: header, message, banner, search, the Inbox
// list and the footer actions. Showing it starts (or refreshes) the model. It
// stays open when another window takes the focus; the tray icon closes it.
// Where there is no tray it stands in for the icon as an ordinary window,
// which the desktop decorates and the user can close.
class PopoverWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize fixedSize {380, 500};

    PopoverWindow(AppModel& model, DesktopWindows& desktop, QWidget* parent = nullptr);
    ~PopoverWindow() override;

    // Opens next to the tray icon, or at the pointer when the tray gives no place.
    void popUp(const QRect& trayIcon);
    void toggle(const QRect& trayIcon);
    // Opens as an ordinary window in the middle of the screen under the pointer.
    void showAsWindow();
    bool isStandIn() const;

    PopoverHeader& header() const { return *header_; }
    InboxTableView& table() const { return *table_; }
    QLineEdit& searchField() const { return *search_; }
    const Theme& theme() const { return theme_; }
    CaptureBar& captureBar() const { return *captureBar_; }
    void setRecording(bool recording);
    // Brings "3 min. ago", "expires in …" and the tonight count up to the
    // clock; done once a minute while the window is on screen.
    void followClock();
    bool followsClock() const { return clockTick_.isActive(); }

Q_SIGNALS:
    void captureRequested(CaptureKind kind);
    void recordRequested(bool pickWindow);
    void stopRecordingRequested();
    void microphoneToggleRequested();
    void settingsRequested();
    void quitRequested();
    void hidden();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void applyTheme();
    void setStandIn(bool standIn);
    void showListOrEmpty();

    AppModel& model_;
    DesktopWindows& desktop_;
    Theme theme_;
    bool translucent_;
    PopoverHeader* header_;
    CaptureBar* captureBar_;
    QLineEdit* search_;
    QStackedWidget* listArea_;
    InboxTableView* table_;
    EmptyInbox* empty_;
    // Only while shown: a hidden popover never wakes Dropwell.
    QTimer clockTick_;
};
