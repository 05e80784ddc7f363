#include "model/AppModel.h"

#include "core/Clock.h"
#include "core/DefaultsKeys.h"
#include "platform/DefaultsStore.h"
#include "platform/FileSystem.h"

#include <utility>

namespace {

AppModel* sharedModel = nullptr;

} // namespace

AppModel::AppModel(ModelServices services, QObject* parent)
    : QObject(parent)
    , services_(std::move(services))
    , actions_(*services_.trash, *services_.clipboard, *services_.fileManager, *services_.previewer)
    , notes_(services_.persistence)
    , settings_(services_.persistence, notes_)
    , index_(services_.persistence, services_.folders)
    , popover_(index_)
    , expiry_(services_, actions_, index_, settings_, popover_)
    , intake_(services_, actions_, index_, expiry_)
    , downloads_(services_, settings_, popover_, intake_)
    , redirect_(services_, settings_, popover_, intake_)
    , operations_(services_, actions_, index_, settings_, popover_, downloads_)
    , renaming_(services_.folders, actions_, index_, popover_)
    , previews_(actions_, popover_)
{
    connect(&inboxWatch_, &InboxIndex::changed, this, &AppModel::ingestInbox, Qt::QueuedConnection);
    connect(&settings_, &ModelSettings::changed, this, &AppModel::settingsChanged);
    connect(&index_, &FileIndex::changed, this, &AppModel::filesChanged);
    connect(&popover_, &PopoverState::selectedIDsChanged, this, &AppModel::selectedIDsChanged);
    connect(&popover_, &PopoverState::searchChanged, this, &AppModel::searchChanged);
    connect(&popover_, &PopoverState::toastChanged, this, &AppModel::toastChanged);
    connect(&popover_, &PopoverState::isSelectingChanged, this, &AppModel::isSelectingChanged);
    connect(&popover_, &PopoverState::renamingIDChanged, this, &AppModel::renamingIDChanged);
    connect(&operations_, &FileOperations::recentMoveFoldersChanged, this, &AppModel::recentMoveFoldersChanged);
}

AppModel::~AppModel()
{
    if (sharedModel == this)
        sharedModel = nullptr;
}

AppModel& AppModel::shared()
{
    Q_ASSERT_X(sharedModel, "AppModel::shared", "the application entry registers its model first");
    return *sharedModel;
}

void AppModel::setShared(AppModel* model) { sharedModel = model; }

QDateTime AppModel::now() const { return services_.clock->now(); }

void AppModel::start()
{
    if (!started_) {
        firstStart();
        return;
    }
    if (!foldersUsable())
        return;
    redirect_.refreshDrift();
    reconcileWithDisk();
    downloads_.sync();
    expiry_.runPass();
}

void AppModel::firstStart()
{
    const FolderService& folders = services_.folders;
    if (!folders.ensure().ok())
        setToast(tr("Could not create Dropwell folders."));
    // Not started: the next start looks again, once the user has mended it.
    if (!foldersUsable())
        return;
    started_ = true;
    // Copies of moves a crash cut short; each one's source is still in place.
    for (const QString& folder : {folders.inbox(), folders.kept(), folders.expired()})
        FileSystem::removeUnfinishedMoves(folder);
    services_.persistence.ensureSupport();
    settings_.saveCorrections();
    index_.load(notes_);
    InboxIndex::absorbKept(index_.records(), folders.kept(), now());
    reconcileWithDisk();
    inboxWatch_.startWatching(folders.inbox(), services_.inboxQuietPeriod, *services_.timers);
    redirect_.start();
    redirect_.refreshDrift();
    downloads_.sync(true);

    if (!settings().onboardingCompleted) {
        changeSettings([](AppSettings& s) { s.onboardingCompleted = true; });
        redirect_.apply();
        downloads_.sync();
    }
    if (services_.defaults->boolValue(DefaultsKeys::showCaptureReadyToast)) {
        services_.defaults->setBool(DefaultsKeys::showCaptureReadyToast, false);
        setToast(tr("Ready to capture — click the button again."));
    }
    expiry_.start();
    tellStartNotes();
}

bool AppModel::foldersUsable()
{
    const auto refusal = services_.folders.refusal();
    if (refusal)
        setToast(*refusal);
    return !refusal;
}

void AppModel::tellStartNotes()
{
    if (const auto notes = notes_.take())
        setToast(*notes);
}

void AppModel::reconcileWithDisk()
{
    if (services_.folders.refusal())
        return;
    InboxIndex::reconcile(index_.records(), services_.folders.inbox(), services_.folders.expired(), now(),
        redirect_.namesSavedIntoInbox());
    expiry_.recomputeInboxExpiry();
    popover_.pruneSelection();
}

void AppModel::ingestInbox() { reconcileWithDisk(); }
