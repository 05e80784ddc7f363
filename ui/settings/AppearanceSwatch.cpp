#include "ui/settings/AppearanceSwatch.h"

#include "ui/Symbols.h"
#include "ui/Theme.h"
#include "ui/settings/SettingsStyle.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int tileHeight = 44;
constexpr int labelGap = 8;
constexpr qreal tileRadius = 8;
constexpr int tickSize = 11;

QFont labelFont(bool selected)
{
    QFont font = SettingsStyle::font(SettingsStyle::Text::Caption);
    font.setWeight(selected ? QFont::DemiBold : QFont::Normal);
    return font;
}

} // namespace

AppearanceSwatch::AppearanceSwatch(AppearanceMode mode, QWidget* parent) : QAbstractButton(parent), mode_(mode)
{
    setText(name(mode));
    setAccessibleName(name(mode));
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QString AppearanceSwatch::name(AppearanceMode mode)
{
    switch (mode) {
    case AppearanceMode::Black:
        return tr("Black");
    case AppearanceMode::Grey:
        return tr("Grey");
    case AppearanceMode::Light:
        return tr("Light");
    case AppearanceMode::Desktop:
        return tr("Follow the desktop");
    }
    return {};
}

void AppearanceSwatch::setSelected(bool selected)
{
    if (selected_ == selected)
        return;
    selected_ = selected;
    update();
}

QSize AppearanceSwatch::sizeHint() const
{
    // Room for a label of two lines, which the longest takes in a narrow window.
    return {80, tileHeight + labelGap + 2 * QFontMetrics(labelFont(true)).height()};
}

void AppearanceSwatch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor primary = palette().color(QPalette::WindowText);

    // The outline is drawn inside the tile, so a selected tile keeps its size.
    const qreal border = selected_ ? 2 : 1;
    const QRectF tile = QRectF(0, 0, width(), tileHeight).adjusted(border / 2, border / 2, -border / 2, -border / 2);
    painter.setPen(QPen(Theme::faded(primary, selected_ ? 0.9 : 0.16), border));
    if (mode_ == AppearanceMode::Desktop) {
        // Black and light, split on the diagonal: either, as the desktop has it.
        QPainterPath outline;
        outline.addRoundedRect(tile, tileRadius, tileRadius);
        painter.fillPath(outline, Theme::forMode(AppearanceMode::Light, false).swatch);
        QPainterPath dark;
        dark.moveTo(tile.topLeft());
        dark.lineTo(tile.topRight());
        dark.lineTo(tile.bottomLeft());
        dark.closeSubpath();
        painter.fillPath(outline.intersected(dark), Theme::forMode(AppearanceMode::Black, false).swatch);
        painter.setBrush(Qt::NoBrush);
    } else {
        painter.setBrush(Theme::forMode(mode_, false).swatch);
    }
    painter.drawRoundedRect(tile, tileRadius, tileRadius);

    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        painter.setPen(QPen(Theme::faded(palette().color(QPalette::Highlight), 0.7), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(tile.adjusted(3, 3, -3, -3), tileRadius - 3, tileRadius - 3);
    }

    if (selected_) {
        const QColor tick = mode_ == AppearanceMode::Light ? Theme::faded(Qt::black, 0.75)
            : mode_ == AppearanceMode::Desktop              ? QColor(128, 128, 128) // readable on both halves
                                                            : Theme::faded(Qt::white, 0.9);
        const QPixmap mark = Symbols::pixmap(QStringLiteral("checkmark"), tick, tickSize, devicePixelRatioF());
        painter.drawPixmap(QPointF((width() - tickSize) / 2.0, (tileHeight - tickSize) / 2.0), mark);
    }

    painter.setFont(labelFont(selected_));
    painter.setPen(selected_ ? primary : Theme::faded(primary, 0.6));
    painter.drawText(QRect(0, tileHeight + labelGap, width(), height() - tileHeight - labelGap),
        Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text());
}
