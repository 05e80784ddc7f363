#include "ui/settings/CapturePane.h"

#include "model/AppModel.h"
#include "ui/settings/SettingsCard.h"
#include "ui/settings/RedirectNote.h"
#include "ui/settings/SettingsStyle.h"
#include "ui/settings/ToggleRow.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CapturePane::CapturePane(AppModel& model, MicrophoneCard::Check checkMicrophone, const ShortcutsSetup& shortcuts, QWidget* parent)
    : QWidget(parent)
    , model_(model)
{
    QVBoxLayout* layout = SettingsStyle::paneLayout(this);
    SettingsStyle::addPaneTitle(
        layout, tr("Capture"), tr("Screenshots skip Desktop. The cube writes straight into Inbox."), this);
    accessSettings_ = SettingsStyle::smallButton(tr("Open screen capture settings"), this);
    accessSettings_->setObjectName(QStringLiteral("accessSettings"));
    accessSettings_->hide(); // until the desktop is known to have such a place
    auto* redirected = SettingsStyle::note(redirectNote(model_.screenshotRedirect().source(), model_.folders().home()),
        SettingsStyle::Text::Caption, SettingsStyle::Tone::Secondary, this);
    redirected->setObjectName(QStringLiteral("redirectedTools"));
    screenshots_ = addToggleCard(tr("Screenshots"), tr("Send screenshots to Inbox"),
        tr("Print Screen saves land in ~/Dropwell/Inbox."), QStringLiteral("sendScreenshots"),
        {redirected, accessSettings_});
    layout->addWidget(new ShortcutsCard(shortcuts, this));
    layout->addWidget(new MicrophoneCard(model_, std::move(checkMicrophone), this));
    downloads_ = addToggleCard(tr("Downloads"), tr("Watch Downloads"),
        tr("New finished files in ~/Downloads — archives, PDFs, disk images, anything. Never replaces the folder."),
        QStringLiteral("watchDownloads"));
    summary_ = addToggleCard(tr("Notifications"), tr("Daily expiry summary"),
        tr("A quiet recap of what is about to expire."), QStringLiteral("dailySummary"));
    layout->addStretch(1);

    connect(accessSettings_, &QPushButton::clicked, this, &CapturePane::accessSettingsRequested);
    connect(screenshots_, &ToggleRow::flipped, &model_.screenshotRedirect(), &ScreenshotRedirect::setEnabled);
    connect(downloads_, &ToggleRow::flipped, &model_.downloads(), &DownloadsIntake::setWatching);
    connect(summary_, &ToggleRow::flipped, &model_.expiry(), &ExpirySchedule::setNotificationsEnabled);
    connect(&model_, &AppModel::settingsChanged, this, &CapturePane::refresh);
    refresh();
}

ToggleRow* CapturePane::addToggleCard(
    const QString& card, const QString& title, const QString& hint, const QString& name, const QList<QWidget*>& below)
{
    auto* box = new SettingsCard(card, this);
    auto* toggle = new ToggleRow(title, hint, box);
    toggle->setObjectName(name);
    box->body()->addWidget(toggle);
    // A wrapping note needs the card's whole width; a button only its own.
    for (QWidget* widget : below)
        box->body()->addWidget(widget, 0, qobject_cast<QLabel*>(widget) ? Qt::Alignment() : Qt::AlignLeft);
    layout()->addWidget(box);
    return toggle;
}

void CapturePane::offerAccessSettings(bool offered) { accessSettings_->setVisible(offered); }

void CapturePane::refresh()
{
    const AppSettings& settings = model_.settings();
    screenshots_->setOn(settings.screenshotsEnabled);
    downloads_->setOn(settings.watchDownloadsEnabled);
    summary_->setOn(settings.notificationsEnabled);
}
