#pragma once

#include "intake/DownloadsWatcher.h"

#include <QObject>

#include <optional>

class InboxIntake;
class ModelSettings;
class PopoverState;
struct ModelServices;

// Finished downloads taken from the Downloads folder into the Inbox, while
// the setting asks for it and the folder is one Dropwell may take from.
class DownloadsIntake : public QObject {
    Q_OBJECT
public:
    DownloadsIntake(const ModelServices& services, ModelSettings& settings, PopoverState& popover, InboxIntake& intake);

    // Turns the setting on (everything in Downloads now is left alone) or off.
    void setWatching(bool on);
    // Starts or stops the watcher to match the setting; `tellWhy` shows why
    // a Downloads folder is refused.
    void sync(bool tellWhy = false);
    // Dropwell put this file into Downloads itself: it is not taken back.
    void markKnown(const QString& path) { watcher_.markKnown(path); }
    const DownloadsWatcher& watcher() const { return watcher_; }

private:
    std::optional<QString> refusal() const;
    void ingest(const QStringList& paths);

    const ModelServices& services_;
    ModelSettings& settings_;
    PopoverState& popover_;
    InboxIntake& intake_;
    DownloadsWatcher watcher_;
};
