#pragma once

#include "core/RetryBackoff.h"
#include "core/TrackedFile.h"

#include <QDateTime>
#include <QObject>
#include <QSet>
#include <QUuid>

#include <memory>
#include <optional>

class FileActions;
class FileIndex;
class ModelSettings;
class OneShotTimer;
class PopoverState;
struct ModelServices;

// When tracked files expire, and the passes that act on it: a file due
// moves from the Inbox to Expired, a day later to the Trash. Pauses, undo
// and the summary notification belong here too.
class ExpirySchedule : public QObject {
    Q_OBJECT
public:
    ExpirySchedule(const ModelServices& services, const FileActions& actions, FileIndex& index,
        ModelSettings& settings, PopoverState& popover);
    ~ExpirySchedule() override;

    // A pass now, then one a period after the end of each.
    void start();
    // Sets the due times of the Inbox from the settings; saves and announces.
    void recomputeInboxExpiry();
    // Starts a pass, which goes on in slices when it has many files to move;
    // a pass already under way goes on instead.
    void runPass();
    void undo(const TrackedFile& file);
    void undoLast();
    int expireTonightCount() const;
    bool isPaused() const;
    void pauseFor24Hours();
    void pauseUntilMonday();
    void resume();
    void setScreenshotExpiryHours(qint64 hours);
    void setOtherExpiryDays(qint64 days);
    void setNotificationsEnabled(bool enabled);

private:
    void continuePass();
    QDateTime now() const;

    const ModelServices& services_;
    const FileActions& actions_;
    FileIndex& index_;
    ModelSettings& settings_;
    PopoverState& popover_;
    std::unique_ptr<OneShotTimer> timer_;
    // The pass under way, between its slices.
    struct Pass {
        QDateTime moment;
        QSet<QUuid> tried; // moved, trashed, or failed: not again in this pass
        int movedToExpired = 0;
    };
    std::optional<Pass> pass_;
    std::unique_ptr<OneShotTimer> slice_;
    // Moves into Expired that failed wait longer before each new try.
    RetryBackoff retries_;
};
