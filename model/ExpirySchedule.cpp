#include "model/ExpirySchedule.h"

#include "core/Clock.h"
#include "core/ExpiryEngine.h"
#include "core/ExpiryNotify.h"
#include "core/FileNames.h"
#include "core/Timers.h"
#include "intake/FileActions.h"
#include "model/FileIndex.h"
#include "model/MayTouch.h"
#include "model/ModelServices.h"
#include "model/ModelSettings.h"
#include "model/PopoverState.h"
#include "platform/Notifier.h"

#include <QDir>

namespace {

// The pass acts only on files where Dropwell put them: a stale or edited
// index must never send a file from elsewhere on the disk to the Trash.
bool isDirectlyIn(const TrackedFile& file, const QString& folder)
{
    return FileNames::parentFolder(file.path) == QDir::cleanPath(folder);
}

// A pass that dies part way must not leave files moved but unrecorded: the
// index is saved as the pass goes, at most this many times, so that a pass
// over many files does not rewrite a large index once per file. What a crash
// leaves unsaved is rebuilt with a full day in Expired.
constexpr qsizetype savesPerPass = 64;
// A pass over thousands of files goes in slices of this many, the event loop
// free between them, so the popover stays responsive while they move.
constexpr int filesPerSlice = 250;

} // namespace

ExpirySchedule::ExpirySchedule(const ModelServices& services, const FileActions& actions, FileIndex& index,
    ModelSettings& settings, PopoverState& popover)
    : services_(services)
    , actions_(actions)
    , index_(index)
    , settings_(settings)
    , popover_(popover)
    , timer_(services.timers->make())
    , slice_(services.timers->make())
{
    connect(timer_.get(), &OneShotTimer::timeout, this, [this] {
        runPass();
        timer_->start(services_.expiryPassPeriod);
    });
    connect(slice_.get(), &OneShotTimer::timeout, this, &ExpirySchedule::continuePass);
}

ExpirySchedule::~ExpirySchedule() = default;

QDateTime ExpirySchedule::now() const { return services_.clock->now(); }

void ExpirySchedule::start()
{
    runPass();
    timer_->start(services_.expiryPassPeriod);
}

void ExpirySchedule::recomputeInboxExpiry()
{
    for (TrackedFile& file : index_.records()) {
        if (file.folder == FileFolder::Inbox && !file.kept)
            file.expiresAt = ExpiryEngine::dueDate(file, settings_.value());
    }
    index_.saveAndAnnounce();
}

void ExpirySchedule::runPass()
{
    if (pass_) // one is under way: its next slice goes on with it
        return;
    if (!retries_.isEmpty()) {
        QSet<QUuid> inInbox;
        for (const TrackedFile& file : index_.files())
            if (file.folder == FileFolder::Inbox)
                inInbox.insert(file.id);
        retries_.forgetAllBut(inInbox);
    }
    pass_.emplace(Pass {now(), {}, 0});
    continuePass();
}

void ExpirySchedule::continuePass()
{
    Pass& pass = *pass_;
    const QDateTime moment = pass.moment;
    const FolderService& folders = services_.folders;
    if (ExpiryEngine::isPaused(settings_.value(), moment) || folders.refusal()) {
        pass_.reset();
        return;
    }
    const QString inbox = folders.inbox();
    const QString expired = folders.expired();
    TrackedFiles& files = index_.records();
    bool changed = false;
    QSet<QUuid> expiredIDs;
    const qsizetype batch = std::max<qsizetype>(1, files.size() / savesPerPass);
    qsizetype unsaved = 0;
    const auto saved = [&] {
        changed = true;
        if (++unsaved < batch)
            return;
        index_.save();
        unsaved = 0;
    };
    int handled = 0;
    for (TrackedFile& file : files) {
        if (handled == filesPerSlice)
            break;
        const bool dueForExpired = ExpiryEngine::isDue(file, moment);
        if ((!dueForExpired && !ExpiryEngine::isDueForTrash(file, moment)) || pass.tried.contains(file.id))
            continue;
        pass.tried.insert(file.id);
        ++handled;
        if (dueForExpired) {
            if (!isDirectlyIn(file, inbox) || !folders.holds(file.path) || !retries_.mayTry(file.id, moment))
                continue;
            const auto moved = actions_.move(file, expired);
            if (!moved.ok()) {
                retries_.failed(file.id, moment);
                continue;
            }
            retries_.succeeded(file.id);
            file.path = moved.value().path;
            file.folder = FileFolder::Expired;
            file.expiredAt = moment;
            expiredIDs.insert(file.id);
            ++pass.movedToExpired;
            saved();
        } else {
            if (!isDirectlyIn(file, expired) || !folders.holds(file.path) || !actions_.trash(file.path).ok())
                continue;
            file.folder = FileFolder::Trash;
            file.trashedAt = moment;
            saved();
        }
    }
    const qsizetype removed = files.removeIf([](const TrackedFile& file) { return file.folder == FileFolder::Trash; });
    popover_.unselect(expiredIDs);
    if (changed || removed > 0)
        index_.saveAndAnnounce();
    if (handled == filesPerSlice) {
        slice_->start(std::chrono::milliseconds(0));
        return;
    }
    if (settings_.value().notificationsEnabled && pass.movedToExpired > 0)
        services_.notifier->post(ExpiryNotify::summary(pass.movedToExpired, expireTonightCount()));
    pass_.reset();
}

void ExpirySchedule::undo(const TrackedFile& file)
{
    const QString failure = tr("Could not undo expiry for '%1'.").arg(file.name());
    if (!mayTouch(services_.folders, file)) {
        popover_.setToast(failure);
        return;
    }
    const auto moved = actions_.move(file, services_.folders.inbox());
    if (!moved.ok()) {
        popover_.setToast(failure);
        return;
    }
    TrackedFile back = moved.value();
    back.landedAt = now();
    back.folder = FileFolder::Inbox;
    back.kept = false;
    back.expiredAt.reset();
    back.expiresAt = ExpiryEngine::dueDate(back, settings_.value());
    index_.update(back);
}

void ExpirySchedule::undoLast()
{
    const TrackedFiles expired = index_.expiredItems();
    if (!expired.isEmpty())
        undo(expired.front());
}

int ExpirySchedule::expireTonightCount() const
{
    const QDateTime moment = now();
    if (ExpiryEngine::isPaused(settings_.value(), moment))
        return 0;
    const TrackedFiles& files = index_.files();
    return int(std::count_if(
        files.begin(), files.end(), [&](const TrackedFile& file) { return ExpiryEngine::isDueSoon(file, moment); }));
}

bool ExpirySchedule::isPaused() const { return ExpiryEngine::isPaused(settings_.value(), now()); }

void ExpirySchedule::pauseFor24Hours()
{
    const QDateTime until = now().addSecs(ExpiryEngine::shortPauseSeconds);
    settings_.change([&](AppSettings& s) { s.expiryPausedUntil = until; });
}

void ExpirySchedule::pauseUntilMonday()
{
    const QDateTime until = ExpiryEngine::nextMondayNine(now(), services_.timeZone);
    settings_.change([&](AppSettings& s) { s.expiryPausedUntil = until; });
}

void ExpirySchedule::resume()
{
    settings_.change([](AppSettings& s) { s.expiryPausedUntil.reset(); });
}

void ExpirySchedule::setScreenshotExpiryHours(qint64 hours)
{
    settings_.change([&](AppSettings& s) { s.screenshotExpiryHours = hours; });
    recomputeInboxExpiry();
}

void ExpirySchedule::setOtherExpiryDays(qint64 days)
{
    settings_.change([&](AppSettings& s) { s.otherExpiryDays = days; });
    recomputeInboxExpiry();
}

void ExpirySchedule::setNotificationsEnabled(bool enabled)
{
    settings_.change([&](AppSettings& s) { s.notificationsEnabled = enabled; });
    if (enabled)
        services_.notifier->requestPermission();
}
