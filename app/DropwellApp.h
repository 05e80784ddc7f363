#pragma once

#include <QObject>

#include <memory>

class AppModel;
class Clock;
class Clipboard;
class DefaultsStore;
class FileManager;
class Notifier;
class PopoverWindow;
class SettingsWindow;
class LazyPreviewWindow;
class Trash;
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

private:
    PopoverWindow& popover();
    void showSettings();
    void followAppearance();

    std::unique_ptr<Clock> clock_;
    std::unique_ptr<Trash> trash_;
    std::unique_ptr<Notifier> notifier_;
    std::unique_ptr<Clipboard> clipboard_;
    std::unique_ptr<FileManager> fileManager_;
    std::unique_ptr<LazyPreviewWindow> previewer_;
    std::unique_ptr<DefaultsStore> defaults_;
    std::unique_ptr<SessionScreenshotTools> screenshotTools_;
    std::unique_ptr<AppModel> model_;
    std::unique_ptr<TrayIcon> tray_;
    std::unique_ptr<PopoverWindow> popover_;
    std::unique_ptr<SettingsWindow> settings_;
};
