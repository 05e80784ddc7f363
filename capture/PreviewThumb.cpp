#include "capture/PreviewThumb.h"

#include "platform/DesktopWindows.h"

#include <QDrag>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr QSize largestThumbnail {200, 120};
constexpr QSize smallestThumbnail {72, 48};
constexpr QSize blankThumbnail {160, 100};
constexpr qreal cardRadius = 12;
constexpr qreal pictureRadius = 9;
constexpr qreal borderWidth = 0.5;
constexpr int insetPx = 4;
// A press that moves further is a drag.
constexpr int dragThresholdPx = 4;

std::unique_ptr<QMimeData> fileData(const QString& path)
{
    auto data = std::make_unique<QMimeData>();
    data->setUrls({QUrl::fromLocalFile(path)});
    return data;
}

// The picture's size on the card for an image of `imagePixels`.
QSize thumbnailSize(QSize imagePixels)
{
    if (imagePixels.width() < 1 || imagePixels.height() < 1)
        return blankThumbnail;
    const double w = imagePixels.width();
    const double h = imagePixels.height();
    // Never enlarged, but never so small that it is hard to hit either.
    const double scale = std::min({largestThumbnail.width() / w, largestThumbnail.height() / h, 1.0});
    return {std::max(int(std::lround(scale * w)), smallestThumbnail.width()),
            std::max(int(std::lround(scale * h)), smallestThumbnail.height())};
}

} // namespace

PreviewThumb::PreviewThumb(DesktopWindows& desktop, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
    , desktop_(desktop)
{
    setCursor(Qt::PointingHandCursor);
}

void PreviewThumb::setCapture(const QImage& image, const QString& path)
{
    path_ = path;
    pressedAt_.reset();
    const QSize thumbnail = thumbnailSize(image.size());
    setFixedSize(thumbnail + QSize(2 * insetPx, 2 * insetPx));
    picture_ = QPixmap();
    update();
    if (image.isNull())
        return;
    // Scaled once here, so the card keeps a few kilobytes of picture rather
    // than a whole screen's worth, and painting it costs nothing.
    const qreal ratio = devicePixelRatioF();
    const QSize fitted = image.size().scaled(thumbnail, Qt::KeepAspectRatio).expandedTo({1, 1});
    picture_ = QPixmap::fromImage(image.scaled(fitted * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    picture_.setDevicePixelRatio(ratio);
}

void PreviewThumb::showEvent(QShowEvent* event)
{
    desktop_.keepOffTaskbar(*windowHandle()); // a glimpse of a new file, not a task
    QWidget::showEvent(event);
}

void PreviewThumb::resizeEvent(QResizeEvent* event)
{
    if (!testAttribute(Qt::WA_TranslucentBackground)) {
        QPainterPath card;
        card.addRoundedRect(QRectF(rect()), cardRadius, cardRadius);
        setMask(QRegion(card.toFillPolygon().toPolygon()));
    }
    QWidget::resizeEvent(event);
}

void PreviewThumb::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const QRectF bounds(rect());
    // The border runs just inside the card's edge, where the window cannot cut it.
    const qreal halfBorder = borderWidth / 2;
    QPainterPath card;
    card.addRoundedRect(bounds.adjusted(halfBorder, halfBorder, -halfBorder, -halfBorder), cardRadius, cardRadius);
    painter.fillPath(card, QColor::fromRgbF(0, 0, 0, 0.18f));

    if (!picture_.isNull()) {
        const QRectF frame = bounds.adjusted(insetPx, insetPx, -insetPx, -insetPx);
        QPainterPath rounded;
        rounded.addRoundedRect(frame, pictureRadius, pictureRadius);
        painter.save();
        painter.setClipPath(rounded);
        QRectF target(QPointF(), picture_.deviceIndependentSize());
        target.moveCenter(frame.center());
        painter.drawPixmap(target, picture_, QRectF(picture_.rect()));
        painter.restore();
    }

    painter.setPen(QPen(QColor::fromRgbF(1, 1, 1, 0.28f), borderWidth));
    painter.drawPath(card);
}

void PreviewThumb::enterEvent(QEnterEvent*) { Q_EMIT hovered(true); }

void PreviewThumb::leaveEvent(QEvent*) { Q_EMIT hovered(false); }

void PreviewThumb::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        pressedAt_ = event->position();
}

void PreviewThumb::mouseMoveEvent(QMouseEvent* event)
{
    if (!pressedAt_ || path_.isEmpty())
        return;
    const QPointF moved = event->position() - *pressedAt_;
    if (std::hypot(moved.x(), moved.y()) <= dragThresholdPx)
        return;
    pressedAt_.reset();
    dragFile();
}

void PreviewThumb::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !pressedAt_)
        return;
    pressedAt_.reset();
    Q_EMIT clicked();
}

void PreviewThumb::dragFile()
{
    auto* drag = new QDrag(this); // Qt deletes it once the drop is over
    drag->setMimeData(fileData(path_).release());
    // Only a copy: the capture stays in the Inbox, where it expires in its time.
    drag->exec(Qt::CopyAction);
}
