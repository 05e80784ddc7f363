#include "ui/settings/ValueRow.h"

#include "ui/settings/SettingsStyle.h"

#include <QHBoxLayout>
#include <QLabel>

ValueRow::ValueRow(const QString& name, const QString& value, QWidget* parent)
    : QWidget(parent), value_(SettingsStyle::label(value, SettingsStyle::Text::ValueMono, SettingsStyle::Tone::Secondary, this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(SettingsStyle::label(name, SettingsStyle::Text::Body, SettingsStyle::Tone::Primary, this));
    layout->addStretch(1);
    layout->addWidget(value_);
}

void ValueRow::setValue(const QString& value) { value_->setText(value); }

QString ValueRow::value() const { return value_->text(); }
