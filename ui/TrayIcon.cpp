#include "ui/TrayIcon.h"

#include "model/AppModel.h"

#include <QMenu>
#include <QPainter>
#include <QPainterPath>

namespace {

// A cube seen from above a corner: three faces in one colour, told apart by
// their outlines, readable on light and dark panels alike.
void paintCube(QPainter& painter, const QRectF& box)
{
    const qreal w = box.width(), h = box.height();
    const QPointF top(box.left() + w / 2, box.top() + h * 0.06);
    const QPointF left(box.left() + w * 0.1, box.top() + h * 0.28);
    const QPointF right(box.left() + w * 0.9, box.top() + h * 0.28);
    const QPointF centre(box.left() + w / 2, box.top() + h * 0.5);
    const QPointF bottomLeft(box.left() + w * 0.1, box.top() + h * 0.72);
    const QPointF bottomRight(box.left() + w * 0.9, box.top() + h * 0.72);
    const QPointF bottom(box.left() + w / 2, box.top() + h * 0.94);

    QPainterPath outline;
    outline.moveTo(top);
    outline.lineTo(right);
    outline.lineTo(bottomRight);
    outline.lineTo(bottom);
    outline.lineTo(bottomLeft);
    outline.lineTo(left);
    outline.closeSubpath();

    const qreal stroke = std::max<qreal>(1.0, w / 14);
    painter.setPen(QPen(QColor(30, 30, 30, 200), stroke * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(235, 235, 235));
    painter.drawPath(outline);
    painter.setPen(QPen(QColor(40, 40, 40), stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(left, centre);
    painter.drawLine(centre, right);
    painter.drawLine(centre, bottom);
}

void paintBadge(QPainter& painter, const QRectF& box, const QString& badge)
{
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(int(box.height() * (badge.size() > 2 ? 0.36 : 0.46)));
    painter.setFont(font);
    const qreal height = box.height() * 0.52;
    const qreal width = std::clamp(QFontMetricsF(font).horizontalAdvance(badge) + height * 0.4, height, box.width());
    const QRectF pill(box.right() - width, box.bottom() - height, width, height);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(10, 132, 255));
    painter.drawRoundedRect(pill, height / 2, height / 2);
    painter.setPen(Qt::white);
    painter.drawText(pill, Qt::AlignCenter, badge);
}

void paintRecordingDot(QPainter& painter, const QRectF& box)
{
    const qreal side = box.width() * 0.42;
    painter.setPen(QPen(QColor(255, 255, 255, 220), std::max<qreal>(1.0, side / 6)));
    painter.setBrush(QColor(255, 59, 48));
    painter.drawEllipse(QRectF(box.right() - side, box.bottom() - side, side, side).adjusted(0.5, 0.5, -0.5, -0.5));
}

} // namespace

TrayIcon::TrayIcon(AppModel& model, QObject* parent)
    : QObject(parent)
    , model_(model)
    , menu_(std::make_unique<QMenu>())
{
    menu_->addAction(tr("Open Dropwell"), this, &TrayIcon::activated);
    menu_->addSeparator();
    menu_->addAction(tr("Quit Dropwell"), this, &TrayIcon::quitRequested);
    tray_.setContextMenu(menu_.get());
    connect(&tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
            Q_EMIT activated();
    });
    connect(&model_, &AppModel::filesChanged, this, &TrayIcon::refresh);
    connect(&model_, &AppModel::settingsChanged, this, &TrayIcon::refresh);
    refresh();
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::show() { tray_.show(); }

QRect TrayIcon::geometry() const { return tray_.geometry(); }

void TrayIcon::setRecording(bool recording)
{
    recording_ = recording;
    refresh();
}

QString TrayIcon::helpText(int count, bool recording)
{
    if (recording)
        return tr("Recording — Esc or click Inbox then Stop");
    return count > 0 ? tr("%1 in inbox").arg(count) : QStringLiteral("Dropwell");
}

QIcon TrayIcon::icon(const QString& badge, bool recording)
{
    const bool marked = recording || !badge.isEmpty();
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        paintCube(painter, marked ? QRectF(0, 0, size * 0.8, size * 0.8) : QRectF(pixmap.rect()));
        if (recording)
            paintRecordingDot(painter, QRectF(pixmap.rect()));
        else if (!badge.isEmpty())
            paintBadge(painter, QRectF(pixmap.rect()), badge);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void TrayIcon::refresh()
{
    const int count = model_.inboxCount();
    const bool badgeShown = model_.settings().inboxBadgeEnabled && count > 0 && !recording_;
    const std::pair mark(badgeShown ? QString::number(count) : QString(), recording_);
    if (mark != shownMark_) {
        shownMark_ = mark;
        tray_.setIcon(icon(mark.first, mark.second));
    }
    tray_.setToolTip(helpText(count, recording_));
}
