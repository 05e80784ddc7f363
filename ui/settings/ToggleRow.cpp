#include "ui/settings/ToggleRow.h"

#include "ui/settings/SettingsStyle.h"
#include "ui/settings/SwitchToggle.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

ToggleRow::ToggleRow(const QString& title, const QString& hint, QWidget* parent) : QWidget(parent), switch_(new SwitchToggle(this))
{
    using namespace SettingsStyle;
    auto* words = new QVBoxLayout;
    words->setSpacing(3);
    words->addWidget(label(title, Text::BodyMedium, Tone::Primary, this));
    words->addWidget(note(hint, Text::Caption, Tone::Secondary, this));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addLayout(words, 1);
    layout->addWidget(switch_, 0, Qt::AlignTop);

    switch_->setAccessibleName(title);
    switch_->setAccessibleDescription(hint);
    connect(switch_, &SwitchToggle::clicked, this, &ToggleRow::flipped);
}

void ToggleRow::setOn(bool on) { switch_->setChecked(on); }

bool ToggleRow::isOn() const { return switch_->isChecked(); }

void ToggleRow::mousePressEvent(QMouseEvent* event)
{
    // Taking the press is what makes the release come here.
    event->setAccepted(event->button() == Qt::LeftButton);
}

void ToggleRow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        switch_->setFocus(Qt::MouseFocusReason);
        switch_->click();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}
