#include "ui/settings/StartupCard.h"

#include "model/AppModel.h"
#include "platform/Autostart.h"
#include "ui/settings/ToggleRow.h"

#include <QFileInfo>
#include <QVBoxLayout>

StartupCard::StartupCard(AppModel& model, Autostart& autostart, QWidget* parent)
    : SettingsCard(tr("Startup"), parent)
    , model_(model)
    , autostart_(autostart)
    , toggle_(new ToggleRow(tr("Start at login"),
          tr("Dropwell keeps the desktop and Downloads empty only while it runs."), this))
{
    toggle_->setObjectName(QStringLiteral("startAtLogin"));
    body()->addWidget(toggle_);
    connect(toggle_, &ToggleRow::flipped, this, &StartupCard::flip);
    // The folder tells of the entry made or removed; the file of it edited.
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &StartupCard::refresh);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &StartupCard::refresh);
    refresh();
}

void StartupCard::showEvent(QShowEvent* event)
{
    SettingsCard::showEvent(event);
    refresh();
}

void StartupCard::flip(bool on)
{
    if (const Status changed = autostart_.setEnabled(on); !changed.ok())
        model_.setToast(changed.message());
    refresh();
}

void StartupCard::refresh()
{
    toggle_->setOn(autostart_.isEnabled());
    const QString entry = autostart_.entryPath();
    const QString folder = QFileInfo(entry).path();
    for (const QString& path : {folder, entry}) {
        if (QFileInfo::exists(path) && !watcher_.files().contains(path) && !watcher_.directories().contains(path))
            watcher_.addPath(path);
    }
}
