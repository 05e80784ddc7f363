#include "ui/settings/SidebarButton.h"

#include "ui/Symbols.h"
#include "ui/Theme.h"
#include "ui/settings/SettingsStyle.h"

#include <QPainter>

namespace {

constexpr int sidePadding = 10;
constexpr int verticalPadding = 8;
constexpr int symbolSize = 13;
constexpr int symbolColumn = 16;
constexpr int symbolGap = 9;
constexpr qreal radius = 8;

QFont titleFont(bool current)
{
    QFont font = SettingsStyle::font(SettingsStyle::Text::Callout);
    font.setWeight(current ? QFont::DemiBold : QFont::Normal);
    return font;
}

} // namespace

SidebarButton::SidebarButton(const QString& symbol, const QString& title, QWidget* parent)
    : QAbstractButton(parent), symbol_(symbol)
{
    setText(title);
    setCheckable(true);
    setAutoExclusive(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize SidebarButton::sizeHint() const
{
    const QFontMetrics metrics(titleFont(true));
    return {sidePadding * 2 + symbolColumn + symbolGap + metrics.horizontalAdvance(text()),
        verticalPadding * 2 + std::max(symbolColumn, metrics.height())};
}

void SidebarButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor primary = palette().color(QPalette::WindowText);
    const bool current = isChecked();

    if (current) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Theme::faded(primary, 0.1));
        painter.drawRoundedRect(QRectF(rect()), radius, radius);
    }
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        painter.setPen(QPen(Theme::faded(palette().color(QPalette::Highlight), 0.7), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), radius - 1, radius - 1);
    }

    const QColor ink = current ? primary : Theme::faded(primary, 0.6);
    const int symbolLeft = sidePadding + (symbolColumn - symbolSize) / 2;
    painter.drawPixmap(symbolLeft, (height() - symbolSize) / 2, Symbols::pixmap(symbol_, ink, symbolSize, devicePixelRatioF()));

    painter.setFont(titleFont(current));
    painter.setPen(ink);
    const int textLeft = sidePadding + symbolColumn + symbolGap;
    painter.drawText(QRect(textLeft, 0, width() - textLeft - sidePadding, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
}
