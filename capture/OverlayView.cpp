#include "capture/OverlayView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr qreal regionDim = 0.32;
constexpr qreal windowDim = 0.45;

QFont pillFont(QFont font, QFont::Weight weight)
{
    font.setPixelSize(13);
    font.setWeight(weight);
    return font;
}

} // namespace

OverlayView::OverlayView(Mode mode, std::vector<CaptureWindow> targets, QString prompt, QImage backdrop, QWidget* parent)
    : QWidget(parent)
    , mode_(mode)
    , targets_(std::move(targets))
    , prompt_(std::move(prompt))
    , backdrop_(std::move(backdrop))
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(mode == Mode::Region ? Qt::CrossCursor : Qt::PointingHandCursor);
}

std::optional<CaptureWindow> OverlayView::windowAt(const std::vector<CaptureWindow>& targets, const QPoint& global)
{
    // Front to back: the first target that holds the point, even where a
    // window that is not a target covers it.
    for (const CaptureWindow& window : targets) {
        if (window.frame.contains(global))
            return window;
    }
    return std::nullopt;
}

QString OverlayView::titleOf(const CaptureWindow& window)
{
    const QString application = window.application.isEmpty() ? tr("Window") : window.application;
    const QString title = window.title.trimmed();
    return title.isEmpty() ? application : application + QStringLiteral(" — ") + title;
}

QRect OverlayView::selection() const
{
    if (!dragStart_ || !dragCurrent_)
        return {};
    return QRect(QPoint(std::min(dragStart_->x(), dragCurrent_->x()), std::min(dragStart_->y(), dragCurrent_->y())),
        QSize(std::abs(dragCurrent_->x() - dragStart_->x()), std::abs(dragCurrent_->y() - dragStart_->y())));
}

void OverlayView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!backdrop_.isNull())
        painter.drawImage(rect(), backdrop_);

    QPainterPath dim;
    dim.setFillRule(Qt::OddEvenFill);
    dim.addRect(rect());
    std::optional<QRect> highlight;
    if (mode_ == Mode::Window && hovered_) {
        highlight = hovered_->frame.translated(-mapToGlobal(QPoint(0, 0)));
        dim.addRect(*highlight);
        painter.fillPath(dim, QColor::fromRgbF(0, 0, 0, windowDim));
        painter.setPen(QPen(QColor(10, 132, 255), 3));
        painter.drawRect(QRectF(*highlight).adjusted(1.5, 1.5, -1.5, -1.5));
        paintTitle(painter, *highlight, titleOf(*hovered_));
    } else if (mode_ == Mode::Region && dragStart_ && dragCurrent_) {
        const QRect picked = selection();
        dim.addRect(picked);
        painter.fillPath(dim, QColor::fromRgbF(0, 0, 0, regionDim));
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(QRectF(picked).adjusted(0.5, 0.5, -0.5, -0.5));
    } else {
        painter.fillRect(rect(), QColor::fromRgbF(0, 0, 0, regionDim));
    }
    paintHint(painter);
}

void OverlayView::paintPill(QPainter& painter, const QRect& box, const QString& text, const QFont& font, qreal alpha) const
{
    QPainterPath pill;
    pill.addRoundedRect(QRectF(box), 8, 8);
    painter.fillPath(pill, QColor::fromRgbF(0, 0, 0, alpha));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(box.adjusted(10, 0, -6, 0), Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetrics(font).elidedText(text, Qt::ElideRight, box.width() - 16));
}

void OverlayView::paintTitle(QPainter& painter, const QRect& highlight, const QString& text) const
{
    const QFont font = pillFont(this->font(), QFont::DemiBold);
    const int width = std::min(QFontMetrics(font).horizontalAdvance(text) + 20, std::max(highlight.width() - 16, 120));
    constexpr int height = 28;
    // Above the window where there is room, else below it.
    int top = highlight.top() - 8 - height;
    if (top < 8)
        top = std::min(highlight.bottom() + 8, this->height() - 8 - height);
    paintPill(painter, QRect(highlight.left() + 8, top, width, height), text, font, 0.72);
}

void OverlayView::paintHint(QPainter& painter) const
{
    const QFont font = pillFont(this->font(), QFont::Medium);
    const QFontMetrics metrics(font);
    const QSize size(metrics.horizontalAdvance(prompt_) + 16 + 4, metrics.height() + 10);
    paintPill(painter, QRect(QPoint(16, height() - 16 - size.height()), size), prompt_, font, 0.55);
}

void OverlayView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (mode_ == Mode::Region) {
        dragStart_ = dragCurrent_ = event->position().toPoint();
        update();
        return;
    }
    // A click on no window cancels.
    if (const auto window = windowAt(targets_, event->globalPosition().toPoint()))
        Q_EMIT windowPicked(*window);
    else
        Q_EMIT cancelled();
}

void OverlayView::mouseMoveEvent(QMouseEvent* event)
{
    if (mode_ == Mode::Region) {
        if (dragStart_) {
            dragCurrent_ = event->position().toPoint();
            update();
        }
        return;
    }
    const auto window = windowAt(targets_, event->globalPosition().toPoint());
    if ((window ? window->id : 0) != (hovered_ ? hovered_->id : 0)) {
        hovered_ = window;
        update();
    }
}

void OverlayView::mouseReleaseEvent(QMouseEvent* event)
{
    if (mode_ != Mode::Region || !dragStart_)
        return;
    dragCurrent_ = event->position().toPoint();
    const QRect picked = selection();
    Q_EMIT regionPicked(QRect(mapToGlobal(picked.topLeft()), picked.size()));
}

void OverlayView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Q_EMIT cancelled();
        return;
    }
    QWidget::keyPressEvent(event);
}

void OverlayView::leaveEvent(QEvent* event)
{
    if (mode_ == Mode::Window && hovered_) {
        hovered_.reset();
        update();
    }
    QWidget::leaveEvent(event);
}
