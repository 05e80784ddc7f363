#include "ui/settings/Surface.h"

#include <QPainter>

namespace {

constexpr qreal cardRadius = 12;

} // namespace

Surface::Surface(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind) {}

void Surface::setFill(const QColor& fill)
{
    fill_ = fill;
    update();
}

void Surface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill_);
    if (kind_ == Kind::Card) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.drawRoundedRect(QRectF(rect()), cardRadius, cardRadius);
    } else {
        painter.drawRect(rect());
    }
}
