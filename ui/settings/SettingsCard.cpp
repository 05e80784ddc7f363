#include "ui/settings/SettingsCard.h"

#include "ui/settings/SettingsStyle.h"

#include <QLabel>
#include <QVBoxLayout>

SettingsCard::SettingsCard(const QString& title, QWidget* parent) : Surface(Kind::Card, parent), body_(new QVBoxLayout)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(10);
    layout->addWidget(SettingsStyle::label(title.toUpper(), SettingsStyle::Text::CardTitle, SettingsStyle::Tone::Secondary, this));
    body_->setSpacing(10);
    layout->addLayout(body_);
}
