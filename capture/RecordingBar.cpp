#include "capture/RecordingBar.h"

#include "capture/RecordingBarView.h"
#include "core/Clock.h"
#include "platform/DesktopWindows.h"
#include "platform/GlobalEscape.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QScreen>

#include <algorithm>
#include <utility>

namespace {

constexpr int tickMs = 250;
constexpr int bottomMarginPx = 28;

QString elapsedText(qint64 seconds)
{
    const QLatin1Char zero('0');
    return QStringLiteral("%1:%2").arg(seconds / 60, 2, 10, zero).arg(seconds % 60, 2, 10, zero);
}

bool isEscape(const QEvent* event)
{
    return static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Escape;
}

} // namespace

RecordingBar::RecordingBar(const Clock& clock, GlobalEscape& escape, DesktopWindows& desktop, QObject* parent)
    : QObject(parent)
    , clock_(clock)
    , escape_(escape)
    , desktop_(desktop)
{
    ticker_.setInterval(tickMs);
    connect(&ticker_, &QTimer::timeout, this, &RecordingBar::showElapsed);
    connect(&escape_, &GlobalEscape::pressed, this, &RecordingBar::stop);
}

RecordingBar::~RecordingBar() { hide(); }

void RecordingBar::show(std::function<void()> stop)
{
    hide();
    onStop_ = std::move(stop);
    started_ = clock_.now();
    if (!window_) {
        window_ = std::make_unique<RecordingBarView>(desktop_.composites());
        connect(window_.get(), &RecordingBarView::stopClicked, this, &RecordingBar::stop);
    }
    showElapsed();
    placeOnPointerScreen();
    window_->show();
    ticker_.start();
    qApp->installEventFilter(this);
    const bool escapeStops = escape_.grab();
    window_->setEscapeStops(escapeStops);
    if (!escapeStops)
        qInfo("Escape cannot end this recording here: the desktop does not give Dropwell the key. The Stop button still does.");
}

void RecordingBar::hide()
{
    ticker_.stop();
    qApp->removeEventFilter(this);
    escape_.release();
    if (window_)
        window_->hide();
    onStop_ = nullptr;
}

bool RecordingBar::isShown() const { return window_ && window_->isVisible(); }

QWidget* RecordingBar::window() const { return window_.get(); }

void RecordingBar::releaseWindow()
{
    if (!isShown())
        window_.reset();
}

void RecordingBar::stop()
{
    // Taken before hiding, which forgets it; a second click or a late Escape
    // then finds nothing to run.
    const std::function<void()> action = std::exchange(onStop_, nullptr);
    if (!action)
        return;
    hide();
    action();
}

void RecordingBar::showElapsed()
{
    // A wall clock set back must not make the time run negative.
    const qint64 seconds = std::max<qint64>(0, started_.msecsTo(clock_.now()) / 1000);
    window_->setElapsedText(elapsedText(seconds));
}

void RecordingBar::placeOnPointerScreen()
{
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect frame = screen->geometry();
    const QSize size = RecordingBarView::size;
    window_->move(frame.x() + (frame.width() - size.width()) / 2,
        frame.y() + frame.height() - bottomMarginPx - size.height());
}

bool RecordingBar::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Claimed, so that no shortcut of our windows takes Escape before
        // the key press arrives here.
        if (!isEscape(event))
            return false;
        event->accept();
        return true;
    case QEvent::KeyPress:
        if (!isEscape(event))
            return false;
        stop();
        return true;
    default:
        return false;
    }
}
