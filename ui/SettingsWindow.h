#pragma once

#include "core/AppSettings.h"
#include "ui/settings/MicrophoneCard.h"
#include "ui/settings/ShortcutsCard.h"

#include <QWidget>

#include <optional>

class AppModel;
class Autostart;
class QLabel;
class QStackedWidget;
class CapturePane;
class SettingsSidebar;

// Dropwell's settings: a fixed-size window with a sidebar of panes (General,
// Capture, Auto-delete, About). Every control shows the model's live
// settings and changes them through the model, so a change made elsewhere,
// say a pause from the popover, shows here at once. The window wears the
// user's appearance and changes with it.
class SettingsWindow : public QWidget {
    Q_OBJECT
public:
    // `checkMicrophone` says whether recordings can have the microphone;
    // `autostart`, where given, whether Dropwell starts at login; `shortcuts`
    // where the desktop's keys for Dropwell's captures are set.
    SettingsWindow(AppModel& model, MicrophoneCard::Check checkMicrophone, Autostart* autostart = nullptr,
        const ShortcutsSetup& shortcuts = {}, QWidget* parent = nullptr);
    ~SettingsWindow() override;

    // Opens centred on the screen, or brings the open window to the front.
    void showAndRaise();
    // Where the desktop has a place to allow screen capture, the Capture pane offers it.
    void offerAccessSettings(bool offered);

Q_SIGNALS:
    void accessSettingsRequested();

private:
    QWidget* makeHeader();
    void addPane(const QString& symbol, const QString& title, QWidget* pane);
    void followAppearance();

    AppModel& model_;
    QLabel* cube_ = nullptr;
    SettingsSidebar* sidebar_ = nullptr;
    CapturePane* capturePane_ = nullptr;
    QStackedWidget* panes_ = nullptr;
    std::optional<AppearanceMode> styledFor_;
};
