#pragma once

#include "app/Command.h"
#include "core/CaptureKind.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <vector>

class AppModel;
class Autostart;
class CaptureService;
class ModelCaptureHost;
class DesktopColorScheme;
class Relauncher;
class ShutterSound;
class Clock;
class DesktopBackend;
class Timers;
class Clipboard;
class DesktopColorScheme;
class DefaultsStore;
class ChosenShortcuts;
class DesktopShortcuts;
class PageAccessibility;
class ScreenRecorder;
class SoundSources;
class FileManager;
class FileOpener;
class Notifier;
class PopoverWindow;
class SettingsWindow;
class LazyPreviewWindow;
class Trash;
class TrayArrival;
class TrayHost;
class TrayIcon;

// The application entry: picks the platform's implementations, builds the one
// model (settings read, no work on disk yet), the tray icon and the popover,
// and owns them all for the life of the process.
struct SessionScreenshotTools;

class DropwellApp : public QObject {
    Q_OBJECT
public:
    DropwellApp();
    ~DropwellApp() override;

    void showPopover();
    void startAtLoginFromNowOn();
    void capture(CaptureKind kind);
    // What the command line asked of this Dropwell, or of the first one.
    void perform(const Command& command);

private:
    PopoverWindow& popover();
    void showSettings();
    void followAppearance();
    void record(bool pickWindow);
    // The popover's microphone entry: on, unless it cannot be had; or off.
    void toggleMicrophone();
    void showRecording();
    void showTrayIcon();
    // The hosts whose arrival brings the tray icon.
    std::vector<TrayHost*> trayHosts();
    // What an idle Dropwell does not need goes back to the system.
    void releaseIdleMemory();

    std::unique_ptr<Clock> clock_;
    std::unique_ptr<Timers> timers_;
    std::unique_ptr<Trash> trash_;
    std::unique_ptr<Notifier> notifier_;
    std::unique_ptr<Clipboard> clipboard_;
    std::unique_ptr<FileManager> fileManager_;
    std::unique_ptr<LazyPreviewWindow> previewer_;
    std::unique_ptr<FileOpener> opener_;
    std::unique_ptr<DefaultsStore> defaults_;
    std::unique_ptr<SessionScreenshotTools> screenshotTools_;
    std::unique_ptr<DesktopBackend> desktop_;
    std::unique_ptr<ShutterSound> shutter_;
    std::unique_ptr<Relauncher> relauncher_;
    std::unique_ptr<SoundSources> soundSources_;
    std::unique_ptr<ScreenRecorder> recorder_;
    std::unique_ptr<PageAccessibility> pageAccessibility_;
    std::unique_ptr<TrayHost> notifierTray_;
    std::unique_ptr<TrayArrival> trayArrival_;
    std::unique_ptr<Autostart> autostart_;
    std::unique_ptr<DesktopShortcuts> shortcuts_;
    // Keys the desktop asks for itself, where Dropwell cannot set its own.
    std::unique_ptr<ChosenShortcuts> chosenShortcuts_;
    std::unique_ptr<DesktopColorScheme> colorScheme_;
    QTimer trayWait_;
    QTimer idleRelease_;
    bool trayLate_ = false; // no tray at start: its coming is worth a word
    std::unique_ptr<AppModel> model_;
    std::unique_ptr<ModelCaptureHost> captureHost_;
    std::unique_ptr<CaptureService> captureService_;
    bool popoverHiddenForCapture_ = false;
    std::unique_ptr<TrayIcon> tray_;
    std::unique_ptr<PopoverWindow> popover_;
    std::unique_ptr<SettingsWindow> settings_;
};
