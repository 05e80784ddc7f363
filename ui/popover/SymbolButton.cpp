#include "ui/popover/SymbolButton.h"

#include "ui/Symbols.h"
#include "ui/Theme.h"

#include <QPainter>
#include <QPainterPath>

SymbolButton::SymbolButton(QString symbol, QString title, QWidget* parent)
    : QAbstractButton(parent)
    , symbol_(std::move(symbol))
{
    setText(title);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus); // keys belong to the list and the search field
}

void SymbolButton::setSymbol(const QString& symbol)
{
    symbol_ = symbol;
    update();
}

void SymbolButton::setDestructive(bool destructive)
{
    destructive_ = destructive;
    update();
}

void SymbolButton::setEmphasised(bool emphasised)
{
    emphasised_ = emphasised;
    update();
}

void SymbolButton::setTiled(bool tiled)
{
    tiled_ = tiled;
    update();
}

void SymbolButton::setSymbolSize(int size)
{
    symbolSize_ = size;
    updateGeometry();
}

QSize SymbolButton::sizeHint() const
{
    return text().isEmpty() ? QSize(symbolSize_ + 12, symbolSize_ + 12) : QSize(56, symbolSize_ + 5 + 13 + 12);
}

void SymbolButton::enterEvent(QEnterEvent* event)
{
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void SymbolButton::leaveEvent(QEvent* event)
{
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void SymbolButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink = palette().color(QPalette::WindowText);
    const QColor red(255, 69, 58);
    QPainterPath tile;
    tile.addRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 7, 7);
    if (emphasised_)
        painter.fillPath(tile, Theme::faded(red, isDown() ? 0.26 : 0.16));
    else if ((tiled_ || hovered_ || isDown()) && isEnabled())
        painter.fillPath(tile, Theme::faded(ink, isDown() ? 0.14 : hovered_ && tiled_ ? 0.1 : 0.06));
    QColor color = emphasised_ ? red : destructive_ ? Theme::faded(red, 0.9) : Theme::faded(ink, 0.85);
    if (!isEnabled())
        color = Theme::faded(color, 0.35);
    const qreal ratio = devicePixelRatioF();
    if (text().isEmpty()) {
        painter.drawPixmap((width() - symbolSize_) / 2, (height() - symbolSize_) / 2,
            Symbols::pixmap(symbol_, color, symbolSize_, ratio));
        return;
    }
    const int top = (height() - (symbolSize_ + 5 + 13)) / 2;
    painter.drawPixmap((width() - symbolSize_) / 2, top, Symbols::pixmap(symbol_, color, symbolSize_, ratio));
    QFont font = this->font();
    font.setPixelSize(10);
    font.setWeight(QFont::Medium);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(QRect(0, top + symbolSize_ + 5, width(), 13), Qt::AlignCenter, text());
}
