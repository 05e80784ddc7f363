#include "ui/settings/StopSlider.h"

#include "ui/settings/SettingsStyle.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

StopSlider::StopSlider(const QString& title, QList<qint64> stops, Label label, QWidget* parent)
    : QWidget(parent)
    , stops_(std::move(stops))
    , label_(std::move(label))
    , value_(SettingsStyle::label(QString(), SettingsStyle::Text::ValueMono, SettingsStyle::Tone::Secondary, this))
    , slider_(new QSlider(Qt::Horizontal, this))
{
    slider_->setRange(0, int(stops_.size()) - 1);
    slider_->setSingleStep(1);
    slider_->setPageStep(1);
    slider_->setTickPosition(QSlider::TicksBelow);
    slider_->setTickInterval(1);
    slider_->setAccessibleName(title);

    auto* heading = new QHBoxLayout;
    heading->addWidget(SettingsStyle::label(title, SettingsStyle::Text::BodyMedium, SettingsStyle::Tone::Primary, this));
    heading->addStretch(1);
    heading->addWidget(value_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addLayout(heading);
    layout->addWidget(slider_);

    connect(slider_, &QSlider::valueChanged, this, [this](int index) { Q_EMIT stopChosen(stops_.at(index)); });
}

void StopSlider::setValue(qint64 value)
{
    value_->setText(label_(value));
    slider_->setAccessibleDescription(value_->text());
    const QSignalBlocker quiet(slider_);
    slider_->setValue(int(std::max<qsizetype>(0, stops_.indexOf(value))));
}
