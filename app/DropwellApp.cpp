#include "app/DropwellApp.h"

#include "app/LazyPreviewWindow.h"
#include "app/ModelCaptureHost.h"
#include "model/AppModel.h"
#include "capture/CaptureService.h"
#include "capture/recording/ScreenRecorder.h"
#include "core/Clock.h"
#include "core/DefaultsKeys.h"
#include "core/Timers.h"
#include "media/MediaModule.h"
#include "platform/DesktopBackend.h"
#include "platform/linux/AtspiPageAccessibility.h"
#include "platform/linux/CanberraShutter.h"
#include "platform/linux/DBusNotifier.h"
#include "platform/linux/FilePages.h"
#include "platform/linux/FreedesktopTrash.h"
#include "platform/linux/GioFileOpener.h"
#include "platform/linux/ProcessRelauncher.h"
#include "platform/linux/PortalColorScheme.h"
#include "platform/linux/PulseSoundSources.h"
#include "platform/linux/QSettingsDefaults.h"
#include "platform/linux/SessionScreenshotTools.h"
#include "platform/linux/PortalShortcuts.h"
#include "platform/linux/SessionShortcuts.h"
#include "platform/linux/StatusNotifierHost.h"
#include "platform/linux/XdgAutostart.h"
#include "platform/qt/DesktopClipboard.h"
#include "platform/qt/DesktopFileManager.h"
#include "ui/popover/PopoverWindow.h"
#include "ui/SettingsWindow.h"
#include "ui/TrayArrival.h"
#include "ui/TrayHelp.h"
#include "ui/TrayIcon.h"

#include <QApplication>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QPixmapCache>
#include <QStandardPaths>

#include <malloc.h>
#include <utility>

namespace {

// Warnings only by default: a normal run prints nothing. What Dropwell did is
// there for the asking, e.g. QT_LOGGING_RULES="dropwell.*.info=true".
Q_LOGGING_CATEGORY(appLog, "dropwell.app", QtWarningMsg)
Q_LOGGING_CATEGORY(trayLog, "dropwell.tray", QtWarningMsg)

// How long a missing tray is waited for before the window stands in for the
// icon. A panel autostarted with Dropwell at login takes one to three seconds
// to come up on an idle machine and several more on a loaded one; much longer
// and a user who started Dropwell by hand on a desktop without a tray would
// think it had not started. A tray that comes later still gets the icon.
constexpr int trayWaitMs = 8000;
// A popover closed for this long is made anew when next opened (some tens of
// milliseconds) rather than kept, with its rows and thumbnails, all day.
constexpr int idleReleaseMs = 30000;

// The `dropwell` that keys of the desktop run: the launcher, which hands the
// command over without loading the windows. It lies beside this program as
// installed, or as laid out in the build folder.
QString launcherPath()
{
    for (const char* relative : {DROPWELL_INSTALLED_LAUNCHER, DROPWELL_BUILT_LAUNCHER}) {
        const QFileInfo launcher(QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(relative));
        if (launcher.isExecutable())
            return launcher.canonicalFilePath();
    }
    return QStringLiteral("dropwell");
}

} // namespace

DropwellApp::DropwellApp()
    : clock_(std::make_unique<SystemClock>())
    , timers_(std::make_unique<SystemTimers>())
    , trash_(std::make_unique<FreedesktopTrash>())
    , notifier_(std::make_unique<DBusNotifier>())
    , clipboard_(std::make_unique<DesktopClipboard>())
    , fileManager_(std::make_unique<DesktopFileManager>())
    , previewer_(std::make_unique<LazyPreviewWindow>())
    , opener_(std::make_unique<GioFileOpener>())
    , defaults_(std::make_unique<QSettingsDefaults>())
    , screenshotTools_(std::make_unique<SessionScreenshotTools>(
          SessionScreenshotTools::find(SessionScreenshotTools::currentPlaces())))
    , desktop_(openDesktopBackend(defaults_.get()))
    , shutter_(std::make_unique<CanberraShutter>())
    , relauncher_(std::make_unique<ProcessRelauncher>(QCoreApplication::applicationFilePath()))
    , soundSources_(std::make_unique<PulseSoundSources>())
    , recorder_(std::make_unique<ScreenRecorder>(ScreenRecorder::Ports {&desktop_->frameSources(), soundSources_.get()}))
    , pageAccessibility_(std::make_unique<AtspiPageAccessibility>())
    , notifierTray_(std::make_unique<StatusNotifierHost>())
    , trayArrival_(std::make_unique<TrayArrival>(trayHosts()))
    , autostart_(std::make_unique<XdgAutostart>(
          QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation), QCoreApplication::applicationFilePath()))
    , shortcuts_(sessionShortcuts(qEnvironmentVariable("XDG_CURRENT_DESKTOP"),
          QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation), launcherPath(), *defaults_,
          QDBusConnection::sessionBus()))
    // Without a word from the desktop, the palette of its Qt theme is the
    // best guess (read now, before Dropwell puts its own in place).
    , colorScheme_(std::make_unique<PortalColorScheme>(
          QDBusConnection::sessionBus(), QApplication::palette().color(QPalette::Window).lightness() < 128))
{
    std::vector<ScreenshotTool*> tools;
    for (const auto& tool : screenshotTools_->installed)
        tools.push_back(tool.get());
    ModelServices services {
        .persistence = Persistence::forCurrentUser(),
        .folders = FolderService::forCurrentUser(),
        .clock = clock_.get(),
        .timers = timers_.get(),
        .trash = trash_.get(),
        .notifier = notifier_.get(),
        .clipboard = clipboard_.get(),
        .fileManager = fileManager_.get(),
        .previewer = previewer_.get(),
        .opener = opener_.get(),
        .defaults = defaults_.get(),
        .screenshots = ScreenshotSource(
            tools, screenshotTools_->primary, screenshotTools_->shellFolder, screenshotTools_->shellRecordingsFolder),
    };
    model_ = std::make_unique<AppModel>(std::move(services));
    AppModel::setShared(model_.get());
    captureHost_ = std::make_unique<ModelCaptureHost>(*model_);
    captureService_ = std::make_unique<CaptureService>(*captureHost_,
        CaptureService::Ports {&desktop_->screenCapture(), shutter_.get(), relauncher_.get(), defaults_.get(),
            recorder_.get(), &desktop_->globalEscape(), pageAccessibility_.get(), desktop_->pageInput(),
            &desktop_->windows(), desktop_->pageCasts()});
    connect(captureService_.get(), &CaptureService::hideChromeRequested, this, [this] {
        popoverHiddenForCapture_ = popover_ && popover_->isVisible();
        if (popoverHiddenForCapture_)
            popover_->hide();
    });
    connect(captureService_.get(), &CaptureService::restoreChromeRequested, this, [this] {
        if (std::exchange(popoverHiddenForCapture_, false))
            showPopover();
    });
    connect(captureService_.get(), &CaptureService::attentionRequested, this, [this] {
        popoverHiddenForCapture_ = false;
        showPopover();
    });

    model_->setDesktopPrefersDark(colorScheme_->prefersDark());
    connect(colorScheme_.get(), &DesktopColorScheme::changed, this,
        [this] { model_->setDesktopPrefersDark(colorScheme_->prefersDark()); });
    followAppearance();
    connect(model_.get(), &AppModel::settingsChanged, this, &DropwellApp::followAppearance);
    startAtLoginFromNowOn();

    // The settings window and the previewer show the cube in the task list.
    QApplication::setWindowIcon(TrayIcon::icon({}, false));
    connect(captureService_.get(), &CaptureService::recordingChanged, this, &DropwellApp::showRecording);
    if (!shortcuts_) {
        // The desktop tells this Dropwell of the keys it keeps for it, which
        // run what `dropwell` would have handed over.
        chosenShortcuts_ = std::make_unique<PortalShortcuts>(QDBusConnection::sessionBus());
        connect(chosenShortcuts_.get(), &ChosenShortcuts::activated, this,
            [this](ShortcutCommand command) { perform(Command::forShortcut(command)); });
    }

    idleRelease_.setSingleShot(true);
    idleRelease_.setInterval(idleReleaseMs);
    connect(&idleRelease_, &QTimer::timeout, this, &DropwellApp::releaseIdleMemory);
    connect(captureService_.get(), &CaptureService::fileWritten, &idleRelease_, qOverload<>(&QTimer::start));
    idleRelease_.start(); // what only starting needed

    connect(trayArrival_.get(), &TrayArrival::arrived, this, &DropwellApp::showTrayIcon);
    connect(trayArrival_.get(), &TrayArrival::fallbackDue, this, [this] {
        // Without a tray there would be no way in at all.
        qCInfo(trayLog, "No system tray came up; showing the Dropwell window instead.");
        if (!defaults_->boolValue(DefaultsKeys::trayHelpShown)) {
            defaults_->setBool(DefaultsKeys::trayHelpShown, true);
            // After what the first start had to say, if anything.
            const QString help = trayHelpFor(qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
            model_->setToast(model_->toast() ? *model_->toast() + QLatin1Char(' ') + help : help);
        }
        showPopover();
    });
    trayWait_.setSingleShot(true);
    trayWait_.setInterval(trayWaitMs);
    connect(&trayWait_, &QTimer::timeout, trayArrival_.get(), &TrayArrival::waitOver);
    trayArrival_->begin();
    trayLate_ = !trayArrival_->hasArrived();
    if (trayLate_) {
        qCInfo(trayLog, "No system tray yet; waiting up to %d s for one.", trayWaitMs / 1000);
        trayWait_.start();
    }
}

DropwellApp::~DropwellApp()
{
    AppModel::setShared(nullptr);
}

std::vector<TrayHost*> DropwellApp::trayHosts()
{
    std::vector<TrayHost*> hosts;
    if (TrayHost* own = desktop_->systemTray())
        hosts.push_back(own);
    hosts.push_back(notifierTray_.get());
    return hosts;
}

void DropwellApp::startAtLoginFromNowOn()
{
    // Dropwell keeps the desktop empty only while it runs: from the first
    // start on it starts with the session, says so once, and never again
    // overrules the user's choice.
    if (defaults_->boolValue(DefaultsKeys::autostartOffered))
        return;
    defaults_->setBool(DefaultsKeys::autostartOffered, true);
    if (const Status enabled = autostart_->setEnabled(true); enabled.ok())
        model_->setToast(tr("Dropwell now starts when you log in. Settings, General turns that off."));
    else
        qCWarning(appLog, "Could not start at login: %s", qPrintable(enabled.message()));
}

void DropwellApp::showPopover()
{
    if (tray_)
        popover().popUp(tray_->geometry());
    else
        popover().showAsWindow();
}

void DropwellApp::showTrayIcon()
{
    if (std::exchange(trayLate_, false))
        qCInfo(trayLog, "A system tray came up; the Dropwell icon is in it now.");
    trayWait_.stop();
    // Made only once a tray is there: Qt chooses between the D-Bus tray and
    // the X11 one when the first icon is made, and never again.
    tray_ = std::make_unique<TrayIcon>(*model_);
    connect(tray_.get(), &TrayIcon::activated, this, [this] { popover().toggle(tray_->geometry()); });
    connect(tray_.get(), &TrayIcon::quitRequested, qApp, &QApplication::quit);
    tray_->setRecording(captureService_->isRecording());
    tray_->show();
}

PopoverWindow& DropwellApp::popover()
{
    // Built the first time it is asked for: an idle Dropwell in the tray
    // keeps only what the tray icon needs in memory.
    if (!popover_) {
        popover_ = std::make_unique<PopoverWindow>(*model_, desktop_->windows());
        connect(popover_.get(), &PopoverWindow::quitRequested, qApp, &QApplication::quit);
        connect(popover_.get(), &PopoverWindow::settingsRequested, this, &DropwellApp::showSettings);
        connect(popover_.get(), &PopoverWindow::captureRequested, this, &DropwellApp::capture);
        connect(popover_.get(), &PopoverWindow::recordRequested, this, &DropwellApp::record);
        connect(popover_.get(), &PopoverWindow::stopRecordingRequested, captureService_.get(), &CaptureService::stopRecording);
        connect(popover_.get(), &PopoverWindow::microphoneToggleRequested, this, &DropwellApp::toggleMicrophone);
        connect(popover_.get(), &PopoverWindow::hidden, &idleRelease_, qOverload<>(&QTimer::start));
        popover_->setRecording(captureService_->isRecording());
    }
    return *popover_;
}

void DropwellApp::releaseIdleMemory()
{
    if (popover_ && !popover_->isVisible())
        popover_.release()->deleteLater();
    captureService_->releaseHiddenWindows();
    // Reading the libraries back costs a window that opens some tens of
    // milliseconds later, and a recording frames it cannot spare.
    const bool inUse = popover_ || previewer_->isVisible() || (settings_ && settings_->isVisible())
        || captureService_->isRecording();
    // Looked at again later: a recording or a window gives no sign when it
    // ends that would start the wait anew.
    if (inUse)
        idleRelease_.start();
    // Pictures, their encoding and the popover's rows were freed into the
    // allocator's pools; this hands those pages back.
    QTimer::singleShot(0, this, [inUse] {
        // Icons drawn for windows no longer shown; drawn again when next needed.
        if (!inUse)
            QPixmapCache::clear();
        // Unloaded before the trim, which then hands back what the loader
        // had allocated for the codecs' libraries.
        if (!inUse)
            MediaModule::unloadUnused();
        malloc_trim(0);
        if (!inUse)
            FilePages::release();
    });
}

void DropwellApp::showSettings()
{
    previewer_->close();
    if (!settings_) {
        settings_ = std::make_unique<SettingsWindow>(*model_, [this] { return recorder_->checkMicrophone(); }, autostart_.get(),
            ShortcutsSetup {shortcuts_.get(), chosenShortcuts_.get(), launcherPath()});
        settings_->offerAccessSettings(captureService_->hasAccessSettings());
        connect(settings_.get(), &SettingsWindow::accessSettingsRequested, this, [this] {
            if (!captureService_->openAccessSettings())
                QMessageBox::information(settings_.get(), QStringLiteral("Dropwell"), CaptureService::nothingToAllow());
        });
    }
    settings_->showAndRaise();
}

void DropwellApp::capture(CaptureKind kind)
{
    captureService_->capture(kind);
}

void DropwellApp::perform(const Command& command)
{
    switch (command.action) {
    case Command::Action::ShowPopover:
        showPopover();
        return;
    case Command::Action::Capture:
        if (const auto kind = captureKindNamed(command.target))
            capture(*kind);
        return;
    case Command::Action::Record:
        record(command.target == QStringLiteral("window"));
        return;
    case Command::Action::StopRecording:
        captureService_->stopRecording();
        return;
    }
}

void DropwellApp::record(bool pickWindow)
{
    captureService_->record(pickWindow, model_->settings().recordWithMic);
}

void DropwellApp::toggleMicrophone()
{
    const bool on = !model_->settings().recordWithMic;
    model_->changeSettings([on](AppSettings& s) { s.recordWithMic = on; });
    if (on && !captureService_->setMicrophoneEnabled(true))
        model_->changeSettings([](AppSettings& s) { s.recordWithMic = false; });
}

void DropwellApp::showRecording()
{
    const bool recording = captureService_->isRecording();
    if (tray_)
        tray_->setRecording(recording);
    if (popover_)
        popover_->setRecording(recording);
}

void DropwellApp::followAppearance()
{
    const Theme theme = Theme::forMode(model_->shownAppearance(), false);
    // Menus without a parent, message boxes and list pop-ups take the
    // application's colours, not a window's: they must match too.
    QApplication::setPalette(theme.palette());
    previewer_->setTheme(theme);
}
