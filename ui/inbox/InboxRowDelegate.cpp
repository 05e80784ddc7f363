#include "ui/inbox/InboxRowDelegate.h"

#include "core/FileNames.h"
#include "ui/Symbols.h"
#include "ui/Theme.h"
#include "ui/inbox/InboxListModel.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int checkLeft = 12;
constexpr int checkSize = 22;
constexpr int checkGap = 8;
constexpr int symbolSize = 16;
// A thumbnail takes a square of this side; a symbol sits in its middle.
constexpr int slotSize = 28;
constexpr qreal thumbnailCorner = 3;
constexpr int nameGap = 10;
constexpr int rightMargin = 12;
constexpr int hitMargin = 6;

// Fitted into the slot whole, with softened corners and a hairline edge so
// that a white page stands apart from a light row.
void paintThumbnail(QPainter& painter, const QRect& slot, const QPixmap& thumbnail, const QColor& edge)
{
    const QSizeF shown = (QSizeF(thumbnail.size()) / thumbnail.devicePixelRatio()).scaled(QSizeF(slot.size()), Qt::KeepAspectRatio);
    QRectF target(QPointF(), shown);
    target.moveCenter(QRectF(slot).center());
    QPainterPath outline;
    outline.addRoundedRect(target, thumbnailCorner, thumbnailCorner);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setClipPath(outline);
    painter.drawPixmap(target, thumbnail, QRectF(thumbnail.rect()));
    painter.restore();
    painter.save();
    painter.setPen(QPen(Theme::faded(edge, 0.35), 0.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(outline);
    painter.restore();
}

} // namespace

InboxRowDelegate::InboxRowDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QRect InboxRowDelegate::checkHitArea(const QRect& rowRect)
{
    const QRect check(rowRect.left() + checkLeft, rowRect.center().y() - checkSize / 2, checkSize, checkSize);
    return check.adjusted(-hitMargin, -hitMargin, hitMargin, hitMargin);
}

int InboxRowDelegate::textLeft(const QRect& rowRect) const
{
    const int symbolLeft = rowRect.left() + checkLeft + (selecting_ ? checkSize + checkGap : 0);
    return symbolLeft + slotSize + nameGap;
}

QRect InboxRowDelegate::nameRect(const QRect& rowRect) const
{
    const int left = textLeft(rowRect);
    return QRect(left, rowRect.top() + 6, rowRect.right() - rightMargin - left, 18);
}

void InboxRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QRect row = option.rect;
    const bool chosen = option.state & QStyle::State_Selected;
    const bool focused = option.state & QStyle::State_Active;
    const QColor text = option.palette.color(QPalette::WindowText);
    // A selected row in the focused window is drawn in the accent colour, its
    // contents in white, like any native list.
    const bool emphasized = chosen && focused;

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (chosen) {
        QPainterPath fill;
        fill.addRoundedRect(QRectF(row.adjusted(6, 1, -6, -1)), 7, 7);
        painter->fillPath(fill, emphasized ? option.palette.color(QPalette::Highlight) : Theme::faded(text, 0.12));
    } else if (option.state & QStyle::State_MouseOver) {
        QPainterPath fill;
        fill.addRoundedRect(QRectF(row.adjusted(6, 1, -6, -1)), 7, 7);
        painter->fillPath(fill, Theme::faded(text, 0.05));
    }

    const qreal ratio = painter->device()->devicePixelRatioF();
    const QColor nameColor = emphasized ? QColor(Qt::white) : text;
    const QColor metaColor = emphasized ? Theme::faded(Qt::white, 0.82) : Theme::faded(text, 0.6);
    int symbolLeft = row.left() + checkLeft;
    if (selecting_) {
        const QColor checkColor = emphasized ? QColor(Qt::white)
            : chosen                          ? option.palette.color(QPalette::Highlight)
                                              : Theme::faded(text, 0.6 * 0.85);
        const int side = 18;
        painter->drawPixmap(symbolLeft + (checkSize - side) / 2, row.center().y() - side / 2,
            Symbols::pixmap(chosen ? QStringLiteral("checkmark-circle-fill") : QStringLiteral("circle"), checkColor, side, ratio));
        symbolLeft += checkSize + checkGap;
    }
    const QRect slot(symbolLeft, row.center().y() - slotSize / 2, slotSize, slotSize);
    if (const QPixmap thumbnail = index.data(InboxListModel::ThumbnailRole).value<QPixmap>(); !thumbnail.isNull())
        paintThumbnail(*painter, slot, thumbnail, metaColor);
    else
        painter->drawPixmap(slot.left() + (slotSize - symbolSize) / 2, slot.top() + (slotSize - symbolSize) / 2,
            Symbols::pixmap(index.data(InboxListModel::SymbolRole).toString(), emphasized ? QColor(Qt::white) : metaColor,
                symbolSize, ratio));

    QFont nameFont = option.font;
    nameFont.setPixelSize(13);
    painter->setFont(nameFont);
    painter->setPen(nameColor);
    const QRect name = nameRect(row);
    painter->drawText(name, Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetrics(nameFont).elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideMiddle, name.width()));

    QFont metaFont = option.font;
    metaFont.setPixelSize(11);
    painter->setFont(metaFont);
    painter->setPen(metaColor);
    const QRect meta(name.left(), name.bottom() + 2, name.width(), 15);
    painter->drawText(meta, Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetrics(metaFont).elidedText(index.data(InboxListModel::MetaRole).toString(), Qt::ElideMiddle, meta.width()));
    painter->restore();
}

QSize InboxRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return QSize(option.rect.width(), rowHeight);
}

QWidget* InboxRowDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const
{
    auto* editor = new QLineEdit(parent); // owned by the view while editing
    editor->setObjectName(QStringLiteral("rename")); // the popover's style gives it the appearance's colours
    editor->setFrame(false);
    QFont font = editor->font();
    font.setPixelSize(13);
    editor->setFont(font);
    return editor;
}

void InboxRowDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    qobject_cast<QLineEdit*>(editor)->setText(index.data(Qt::EditRole).toString());
}

void InboxRowDelegate::selectBaseName(QLineEdit& field)
{
    const FileNames::Split split = FileNames::split(field.text());
    field.setSelection(0, int(split.extension.isEmpty() ? field.text().size() : split.base.size()));
}

void InboxRowDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const
{
    editor->setGeometry(nameRect(option.rect).adjusted(-3, -1, 0, 1));
}

void InboxRowDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex&) const
{
    if (onRename_)
        onRename_(qobject_cast<QLineEdit*>(editor)->text());
}
