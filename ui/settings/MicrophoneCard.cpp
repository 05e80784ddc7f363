#include "ui/settings/MicrophoneCard.h"

#include "model/AppModel.h"
#include "ui/Symbols.h"
#include "ui/settings/SettingsStyle.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace SettingsStyle;

MicrophoneCard::MicrophoneCard(AppModel& model, Check check, QWidget* parent)
    : SettingsCard(tr("Microphone"), parent)
    , model_(model)
    , check_(std::move(check))
    , state_(label(QString(), Text::BodyMedium, Tone::Primary, this))
    , allowedMark_(new QLabel(this))
    , checkAgain_(smallButton(tr("Check again"), this))
{
    state_->setObjectName(QStringLiteral("microphoneState"));
    checkAgain_->setObjectName(QStringLiteral("microphoneCheck"));
    allowedMark_->setPixmap(Symbols::pixmap(QStringLiteral("checkmark-circle-fill"), QColor(48, 209, 88), 18, devicePixelRatioF()));

    auto* words = new QVBoxLayout;
    words->setSpacing(2);
    words->addWidget(state_);
    words->addWidget(note(tr("Needed to speak over a screen recording. Dropwell records the sound server's default input."),
        Text::Caption, Tone::Secondary, this));
    auto* row = new QHBoxLayout;
    row->addLayout(words, 1);
    row->addWidget(allowedMark_, 0, Qt::AlignVCenter);
    row->addWidget(checkAgain_, 0, Qt::AlignVCenter);
    body()->addLayout(row);

    connect(checkAgain_, &QPushButton::clicked, this, [this] {
        if (refresh())
            model_.changeSettings([](AppSettings& s) { s.recordWithMic = true; });
    });
    refresh();
}

bool MicrophoneCard::refresh()
{
    const Status found = check_();
    state_->setText(found.ok() ? tr("Allowed") : found.message());
    allowedMark_->setVisible(found.ok());
    checkAgain_->setVisible(!found.ok());
    return found.ok();
}

void MicrophoneCard::showEvent(QShowEvent* event)
{
    refresh();
    SettingsCard::showEvent(event);
}
