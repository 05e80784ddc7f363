#include "ui/settings/SwitchToggle.h"

#include "ui/Theme.h"

#include <QPainter>

namespace {

constexpr QSize trackSize(36, 20);
constexpr qreal knobInset = 2;
constexpr int slideMilliseconds = 140;

QColor mix(const QColor& from, const QColor& to, qreal t)
{
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * t), float(from.greenF() + (to.greenF() - from.greenF()) * t),
        float(from.blueF() + (to.blueF() - from.blueF()) * t), float(from.alphaF() + (to.alphaF() - from.alphaF()) * t));
}

} // namespace

SwitchToggle::SwitchToggle(QWidget* parent) : QAbstractButton(parent)
{
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    slide_.setDuration(slideMilliseconds);
    slide_.setEasingCurve(QEasingCurve::InOutQuad);
    slide_.setStartValue(0.0);
    slide_.setEndValue(0.0);
    connect(&slide_, &QVariantAnimation::valueChanged, this, qOverload<>(&QWidget::update));
}

QSize SwitchToggle::sizeHint() const
{
    // Room around the track for the keyboard focus ring.
    return trackSize + QSize(4, 4);
}

void SwitchToggle::checkStateSet()
{
    slide_.stop();
    slide_.setStartValue(isChecked() ? 1.0 : 0.0);
    slide_.setEndValue(isChecked() ? 1.0 : 0.0);
    update();
}

void SwitchToggle::nextCheckState()
{
    QAbstractButton::nextCheckState();
    slide_.setStartValue(isChecked() ? 0.0 : 1.0);
    slide_.setEndValue(isChecked() ? 1.0 : 0.0);
    slide_.start();
}

void SwitchToggle::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(0.4);

    const qreal position = slide_.state() == QAbstractAnimation::Running ? slide_.currentValue().toReal() : slide_.endValue().toReal();
    const QRectF track(QPointF((width() - trackSize.width()) / 2.0, (height() - trackSize.height()) / 2.0), trackSize);
    const qreal radius = track.height() / 2;

    const QColor off = Theme::faded(palette().color(QPalette::WindowText), 0.22);
    const QColor on = palette().color(QPalette::Highlight);
    painter.setPen(Qt::NoPen);
    painter.setBrush(mix(off, on, position));
    painter.drawRoundedRect(track, radius, radius);

    // Mouse users need no ring; the window notes whether focus came from the keyboard.
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Theme::faded(on, 0.6), 2));
        painter.drawRoundedRect(track.adjusted(-1.5, -1.5, 1.5, 1.5), radius + 1.5, radius + 1.5);
    }

    const qreal knob = track.height() - 2 * knobInset;
    const QRectF knobRect(track.left() + knobInset + position * (track.width() - knob - 2 * knobInset), track.top() + knobInset, knob, knob);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 40));
    painter.drawEllipse(knobRect.translated(0, 0.75));
    painter.setBrush(Qt::white);
    painter.drawEllipse(knobRect);
}
