#include "capture/RecordingBarView.h"

#include <QApplication>
#include <QBitmap>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr qreal pillRadius = 20;
constexpr float pillShade = 0.07f;
constexpr float pillAlpha = 0.92f;
constexpr QRectF dotFrame {14, 16, 8, 8};
constexpr QColor dotColour {255, 59, 48};
constexpr QRect elapsedFrame {30, 11, 48, 18};
constexpr QRect stopFrame {86, 8, 88, 24};
constexpr int elapsedPixelSize = 12;

bool digitsShareWidth(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int zero = metrics.horizontalAdvance(QLatin1Char('0'));
    return std::ranges::all_of(QStringLiteral("123456789"), [&](QChar digit) {
        return metrics.horizontalAdvance(digit) == zero;
    });
}

QFont sized(QFont font)
{
    font.setPixelSize(elapsedPixelSize);
    font.setWeight(QFont::Medium);
    return font;
}

// Digits of one width, so the label does not shiver as the seconds tick.
// Qt 6.4 cannot ask a font for its tabular figures; most desktop fonts draw
// digits that way anyway, and the fixed-pitch font serves the others.
QFont elapsedFont()
{
    const QFont font = sized(QApplication::font());
    return digitsShareWidth(font) ? font : sized(QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

} // namespace

RecordingBarView::RecordingBarView(bool translucent)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
    , translucent_(translucent)
    , elapsed_(new QLabel(QStringLiteral("00:00"), this))
    , stop_(new QPushButton(tr("Stop"), this))
{
    setObjectName(QStringLiteral("recordingBar"));
    setWindowTitle(QStringLiteral("Dropwell"));
    setFixedSize(size);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground, translucent_);
    if (!translucent_) {
        QBitmap shape(size);
        shape.fill(Qt::color0);
        QPainter painter(&shape);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::color1);
        painter.drawRoundedRect(rect(), pillRadius, pillRadius);
        painter.end();
        setMask(shape);
    }

    elapsed_->setObjectName(QStringLiteral("elapsed"));
    elapsed_->setGeometry(elapsedFrame);
    elapsed_->setFont(elapsedFont());
    elapsed_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    elapsed_->setStyleSheet(QStringLiteral("color: white;"));

    stop_->setObjectName(QStringLiteral("stop"));
    stop_->setGeometry(stopFrame);
    stop_->setFocusPolicy(Qt::NoFocus);
    stop_->setStyleSheet(QStringLiteral(
        "QPushButton { color: white; background: rgba(255, 255, 255, 46); border: none; border-radius: 6px;"
        " font-size: 12px; }"
        "QPushButton:hover { background: rgba(255, 255, 255, 66); }"
        "QPushButton:pressed { background: rgba(255, 255, 255, 92); }"));
    connect(stop_, &QPushButton::clicked, this, &RecordingBarView::stopClicked);
}

void RecordingBarView::setElapsedText(const QString& text) { elapsed_->setText(text); }

void RecordingBarView::setEscapeStops(bool stops)
{
    const QString how = stops ? tr("Escape stops the recording.")
                              : tr("Escape can't stop the recording on this desktop: click Stop, or stop it from Dropwell's tray icon.");
    setToolTip(how);
    stop_->setToolTip(how);
    setAccessibleDescription(how);
}

void RecordingBarView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    // Without a compositing manager the mask already cuts the rounded shape;
    // soft edges would only blend into the window's own grey background.
    if (translucent_) {
        painter.setBrush(QColor::fromRgbF(pillShade, pillShade, pillShade, pillAlpha));
        painter.drawRoundedRect(QRectF(rect()), pillRadius, pillRadius);
    } else {
        painter.fillRect(rect(), QColor::fromRgbF(pillShade, pillShade, pillShade));
    }
    painter.setBrush(dotColour);
    painter.drawEllipse(dotFrame);
}

void RecordingBarView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        grip_ = event->globalPosition().toPoint() - pos();
}

void RecordingBarView::mouseMoveEvent(QMouseEvent* event)
{
    if (grip_)
        move(event->globalPosition().toPoint() - *grip_);
}

void RecordingBarView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        grip_.reset();
}
