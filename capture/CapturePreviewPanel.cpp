#include "capture/CapturePreviewPanel.h"

#include "capture/PreviewThumb.h"
#include "core/Timers.h"
#include "platform/DesktopWindows.h"

#include <QCursor>
#include <QEasingCurve>
#include <QGuiApplication>
#include <QImage>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QRect>
#include <QScreen>
#include <QSize>

namespace {

constexpr int screenMarginPx = 24;
constexpr int slideInFromPx = 28;
constexpr int slideOutByPx = 20;
// Where Qt knows no screen at all.
constexpr QRect fallbackScreen {0, 0, 1280, 800};

// The standard ease-out and ease-in of interface motion (CSS's "ease-out"
// and "ease-in"), which Qt's named curves only approximate.
QEasingCurve cubic(QPointF first, QPointF second)
{
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(first, second, {1, 1});
    return curve;
}

// Where the panel of `size` comes to rest on a screen of `geometry` whose
// part free of panels and docks is `available`: right of the screen itself,
// above whatever dock is at the bottom.
QPoint restPosition(const QRect& geometry, const QRect& available, QSize size)
{
    return {geometry.x() + geometry.width() - size.width() - screenMarginPx,
            available.y() + available.height() - size.height() - screenMarginPx};
}

} // namespace

CapturePreviewPanel::CapturePreviewPanel(Timing timing, Timers& timers, DesktopWindows& desktop, QObject* parent)
    : QObject(parent)
    , timing_(timing)
    , desktop_(desktop)
    , hideTimer_(timers.make())
{
    connect(hideTimer_.get(), &OneShotTimer::timeout, this, [this] { hide(true); });
}

// Reset by hand: the window's last Leave event then finds no window here,
// rather than one half destroyed.
CapturePreviewPanel::~CapturePreviewPanel() { window_.reset(); }

QWidget* CapturePreviewPanel::window() const { return window_.get(); }

bool CapturePreviewPanel::isShown() const { return window_ && window_->isVisible(); }

void CapturePreviewPanel::releaseWindow()
{
    if (isShown())
        return;
    // The animations are the window's children and go with it.
    window_.reset();
    motion_ = nullptr;
    glide_ = nullptr;
    fade_ = nullptr;
    hiding_ = false;
}

void CapturePreviewPanel::makeWindow()
{
    // A tool window that stays on top and never asks for the focus: the
    // capture is shown while the user goes on typing elsewhere.
    window_ = std::make_unique<PreviewThumb>(
        desktop_, nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    window_->setObjectName(QStringLiteral("capturePreview"));
    window_->setAttribute(Qt::WA_ShowWithoutActivating);
    // Without a compositing manager see-through pixels turn black: the card is
    // cut to its rounded shape instead.
    window_->setAttribute(Qt::WA_TranslucentBackground, desktop_.composites());

    motion_ = new QParallelAnimationGroup(window_.get());
    glide_ = new QPropertyAnimation(window_.get(), "pos", motion_);
    fade_ = new QPropertyAnimation(window_.get(), "windowOpacity", motion_);
    motion_->addAnimation(glide_);
    motion_->addAnimation(fade_);
    connect(motion_, &QAbstractAnimation::finished, this, [this] {
        if (hiding_) {
            hiding_ = false;
            window_->hide();
        }
    });
    connect(window_.get(), &PreviewThumb::hovered, this, [this](bool inside) {
        if (inside)
            hideTimer_->cancel();
        else
            scheduleHide();
    });
    connect(window_.get(), &PreviewThumb::clicked, this, [this] {
        const QString path = window_->path();
        hide(true);
        Q_EMIT clicked(path);
    });
}

void CapturePreviewPanel::show(const QImage& image, const QString& path)
{
    hide(false);
    if (!window_)
        makeWindow();

    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        window_->setScreen(screen); // before the picture is scaled for its pixel density
    window_->setCapture(image, path);
    const QPoint rest = screen ? restPosition(screen->geometry(), screen->availableGeometry(), window_->size())
                               : restPosition(fallbackScreen, fallbackScreen, window_->size());

    window_->move(rest - QPoint(slideInFromPx, 0));
    window_->setWindowOpacity(0);
    window_->show();
    slide(rest, 1, timing_.slideInMs, cubic({0, 0}, {0.58, 1}));
    scheduleHide();
}

void CapturePreviewPanel::hide(bool animated)
{
    hideTimer_->cancel();
    if (!isShown())
        return;
    if (!animated) {
        motion_->stop();
        hiding_ = false;
        window_->hide();
        return;
    }
    if (hiding_)
        return;
    hiding_ = true;
    slide(window_->pos() - QPoint(slideOutByPx, 0), 0, timing_.slideOutMs, cubic({0.42, 0}, {1, 1}));
}

void CapturePreviewPanel::scheduleHide()
{
    if (isShown() && !hiding_)
        hideTimer_->start(std::chrono::milliseconds(timing_.hideAfterMs));
}

void CapturePreviewPanel::slide(QPoint to, qreal opacity, int durationMs, const QEasingCurve& curve)
{
    motion_->stop();
    glide_->setEndValue(to);
    fade_->setEndValue(opacity);
    for (auto* animation : {glide_, fade_}) {
        animation->setDuration(durationMs);
        animation->setEasingCurve(curve);
    }
    motion_->start();
}
