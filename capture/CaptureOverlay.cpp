#include "capture/CaptureOverlay.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

CaptureOverlay::CaptureOverlay(OverlayView::Mode mode, std::vector<CaptureWindow> targets, QString prompt,
    std::vector<Screen> screens, QObject* parent)
    : QObject(parent)
{
    for (Screen& screen : screens) {
        auto view = std::make_unique<OverlayView>(mode, targets, prompt, std::move(screen.backdrop));
        // Above panels and docks, untouched by the window manager, and never
        // asked to take part in a capture: it is gone before any grab.
        view->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint);
        view->setGeometry(screen.screen->geometry());
        connect(view.get(), &OverlayView::regionPicked, this, [this](const QRect& rect) { finish(rect); });
        connect(view.get(), &OverlayView::windowPicked, this, [this](const CaptureWindow& window) { finish(window); });
        connect(view.get(), &OverlayView::cancelled, this, [this] { finish(CaptureError::of(CaptureError::Kind::Cancelled)); });
        views_.push_back(std::move(view));
    }
}

CaptureOverlay::~CaptureOverlay() { close(); }

void CaptureOverlay::present()
{
    OverlayView* underPointer = nullptr;
    for (const auto& view : views_) {
        view->show();
        view->raise();
        if (view->geometry().contains(QCursor::pos()))
            underPointer = view.get();
    }
    if (!underPointer && !views_.empty())
        underPointer = views_.front().get();
    if (underPointer) {
        underPointer->activateWindow();
        underPointer->setFocus();
        // Escape must reach the overlay whatever window had the focus.
        underPointer->grabKeyboard();
    }
}

void CaptureOverlay::close()
{
    for (const auto& view : views_) {
        view->releaseKeyboard();
        view->hide();
    }
    if (!finished_)
        finish(CaptureError::of(CaptureError::Kind::Cancelled));
}

void CaptureOverlay::finish(const Result& result)
{
    if (finished_)
        return;
    finished_ = true;
    for (const auto& view : views_) {
        view->releaseKeyboard();
        view->hide();
    }
    Q_EMIT finished(result);
}
