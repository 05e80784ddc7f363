#include "ui/settings/AutoDeletePane.h"

#include "model/AppModel.h"
#include "core/ExpiryEngine.h"
#include "ui/settings/SettingsCard.h"
#include "ui/settings/SettingsStyle.h"
#include "ui/settings/StopSlider.h"
#include "ui/settings/ValueRow.h"

#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

using namespace SettingsStyle;

AutoDeletePane::AutoDeletePane(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    auto* card = new SettingsCard(tr("Auto-delete"), this);
    screenshotHours_ = new StopSlider(tr("Screenshots & recordings"), {6, 12, 24, 48, 72, 168}, ExpiryEngine::labelHours, card);
    screenshotHours_->setObjectName(QStringLiteral("screenshotExpiry"));
    otherDays_ = new StopSlider(tr("Everything else"), {1, 3, 7, 14, 30}, &AutoDeletePane::daysLabel, card);
    otherDays_->setObjectName(QStringLiteral("otherExpiry"));

    paused_ = new QWidget(card);
    paused_->setObjectName(QStringLiteral("pausedUntil"));
    pausedUntil_ = new ValueRow(tr("Paused until"), QString(), paused_);
    auto* resume = smallButton(tr("Resume expiry"), paused_);
    auto* pausedLayout = new QVBoxLayout(paused_);
    pausedLayout->setContentsMargins(0, 0, 0, 0);
    pausedLayout->addWidget(pausedUntil_);
    pausedLayout->addWidget(resume);

    card->body()->addWidget(screenshotHours_);
    card->body()->addWidget(otherDays_);
    card->body()->addWidget(
        note(tr("Archives, PDFs and other Inbox files. Expired sits 24 hours for undo, then Trash."), Text::Caption, Tone::Secondary, card));
    card->body()->addWidget(paused_);

    QVBoxLayout* layout = paneLayout(this);
    layout->addWidget(card);
    layout->addStretch(1);

    connect(screenshotHours_, &StopSlider::stopChosen, &model_.expiry(), &ExpirySchedule::setScreenshotExpiryHours);
    connect(otherDays_, &StopSlider::stopChosen, &model_.expiry(), &ExpirySchedule::setOtherExpiryDays);
    connect(resume, &QPushButton::clicked, &model_.expiry(), &ExpirySchedule::resume);
    connect(&model_, &AppModel::settingsChanged, this, &AutoDeletePane::refresh);
    refresh();
}

QString AutoDeletePane::daysLabel(qint64 days)
{
    return ExpiryEngine::labelHours(days * 24);
}

void AutoDeletePane::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refresh();
}

void AutoDeletePane::refresh()
{
    const AppSettings& settings = model_.settings();
    screenshotHours_->setValue(settings.screenshotExpiryHours);
    otherDays_->setValue(settings.otherExpiryDays);
    const bool paused = model_.expiry().isPaused();
    paused_->setVisible(paused);
    if (paused)
        pausedUntil_->setValue(QLocale().toString(settings.expiryPausedUntil->toLocalTime(), QLocale::ShortFormat));
}
