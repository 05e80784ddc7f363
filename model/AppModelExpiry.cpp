// The expiry side of the model: due times, the periodic pass, undo, pauses.
#include "model/AppModel.h"

#include "core/Clock.h"
#include "core/ExpiryEngine.h"
#include "core/ExpiryNotify.h"
#include "core/FileNames.h"
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

void AppModel::recomputeInboxExpiry()
{
    for (TrackedFile& file : files_) {
        if (file.folder == FileFolder::Inbox && !file.kept)
            file.expiresAt = ExpiryEngine::dueDate(file, settings_);
    }
    saveIndex();
    Q_EMIT filesChanged();
}

void AppModel::runExpiryPass()
{
    if (expiryPass_) // one is under way: its next slice goes on with it
        return;
    if (!expiryRetries_.isEmpty()) {
        QSet<QUuid> inInbox;
        for (const TrackedFile& file : files_)
            if (file.folder == FileFolder::Inbox)
                inInbox.insert(file.id);
        expiryRetries_.forgetAllBut(inInbox);
    }
    expiryPass_.emplace(ExpiryPass {now(), {}, 0});
    continueExpiryPass();
}

void AppModel::continueExpiryPass()
{
    ExpiryPass& pass = *expiryPass_;
    const QDateTime moment = pass.moment;
    if (ExpiryEngine::isPaused(settings_, moment) || services_.folders.refusal()) {
        expiryPass_.reset();
        return;
    }
    const QString inbox = services_.folders.inbox();
    const QString expired = services_.folders.expired();
    bool changed = false;
    QSet<QUuid> expiredIDs;
    const qsizetype batch = std::max<qsizetype>(1, files_.size() / savesPerPass);
    qsizetype unsaved = 0;
    const auto saved = [&] {
        changed = true;
        if (++unsaved < batch)
            return;
        saveIndex();
        unsaved = 0;
    };
    int handled = 0;
    for (TrackedFile& file : files_) {
        if (handled == filesPerSlice)
            break;
        const bool dueForExpired = ExpiryEngine::isDue(file, moment);
        if ((!dueForExpired && !ExpiryEngine::isDueForTrash(file, moment)) || pass.tried.contains(file.id))
            continue;
        pass.tried.insert(file.id);
        ++handled;
        if (dueForExpired) {
            if (!isDirectlyIn(file, inbox) || !services_.folders.holds(file.path)
                || !expiryRetries_.mayTry(file.id, moment))
                continue;
            const auto moved = actions_.move(file, expired);
            if (!moved.ok()) {
                expiryRetries_.failed(file.id, moment);
                continue;
            }
            expiryRetries_.succeeded(file.id);
            file.path = moved.value().path;
            file.folder = FileFolder::Expired;
            file.expiredAt = moment;
            expiredIDs.insert(file.id);
            ++pass.movedToExpired;
            saved();
        } else {
            if (!isDirectlyIn(file, expired) || !services_.folders.holds(file.path)
                || !actions_.trash(file.path).ok())
                continue;
            file.folder = FileFolder::Trash;
            file.trashedAt = moment;
            saved();
        }
    }
    const qsizetype removed = files_.removeIf([](const TrackedFile& file) { return file.folder == FileFolder::Trash; });
    unselect(expiredIDs);
    if (changed || removed > 0) {
        saveIndex();
        Q_EMIT filesChanged();
    }
    if (handled == filesPerSlice) {
        expirySlice_->start(std::chrono::milliseconds(0));
        return;
    }
    if (settings_.notificationsEnabled && pass.movedToExpired > 0)
        services_.notifier->post(ExpiryNotify::summary(pass.movedToExpired, expireTonightCount()));
    expiryPass_.reset();
}

void AppModel::undoExpiry(const TrackedFile& file)
{
    const QString failure = tr("Could not undo expiry for '%1'.").arg(file.name());
    if (!mayTouch(file)) {
        setToast(failure);
        return;
    }
    const auto moved = actions_.move(file, services_.folders.inbox());
    if (!moved.ok()) {
        setToast(failure);
        return;
    }
    TrackedFile back = moved.value();
    back.landedAt = now();
    back.folder = FileFolder::Inbox;
    back.kept = false;
    back.expiredAt.reset();
    back.expiresAt = ExpiryEngine::dueDate(back, settings_);
    update(back);
}

void AppModel::undoLastExpiry()
{
    const TrackedFiles expired = expiredItems();
    if (!expired.isEmpty())
        undoExpiry(expired.front());
}

int AppModel::expireTonightCount() const
{
    const QDateTime moment = now();
    if (ExpiryEngine::isPaused(settings_, moment))
        return 0;
    return int(std::count_if(files_.begin(), files_.end(),
        [&](const TrackedFile& file) { return ExpiryEngine::isDueSoon(file, moment); }));
}

bool AppModel::isExpiryPaused() const { return ExpiryEngine::isPaused(settings_, now()); }

void AppModel::pauseExpiryFor24Hours()
{
    const QDateTime until = now().addSecs(ExpiryEngine::shortPauseSeconds);
    changeSettings([&](AppSettings& s) { s.expiryPausedUntil = until; });
}

void AppModel::pauseExpiryUntilMonday()
{
    const QDateTime until = ExpiryEngine::nextMondayNine(now(), services_.timeZone);
    changeSettings([&](AppSettings& s) { s.expiryPausedUntil = until; });
}

void AppModel::resumeExpiry()
{
    changeSettings([](AppSettings& s) { s.expiryPausedUntil.reset(); });
}

void AppModel::setScreenshotExpiryHours(qint64 hours)
{
    changeSettings([&](AppSettings& s) { s.screenshotExpiryHours = hours; });
    recomputeInboxExpiry();
}

void AppModel::setOtherExpiryDays(qint64 days)
{
    changeSettings([&](AppSettings& s) { s.otherExpiryDays = days; });
    recomputeInboxExpiry();
}

void AppModel::setNotificationsEnabled(bool enabled)
{
    changeSettings([&](AppSettings& s) { s.notificationsEnabled = enabled; });
    if (enabled)
        services_.notifier->requestPermission();
}
