#include "ui/popover/PopoverWindow.h"

#include "model/AppModel.h"
#include "platform/DesktopWindows.h"
#include "ui/InboxHotkeys.h"
#include "ui/Symbols.h"
#include "ui/inbox/InboxTableView.h"
#include "ui/popover/CaptureBar.h"
#include "ui/popover/DriftBanner.h"
#include "ui/popover/EmptyInbox.h"
#include "ui/popover/FooterBar.h"
#include "ui/popover/PopoverHeader.h"
#include "ui/popover/PopoverStyle.h"
#include "ui/popover/ToastRow.h"

#include <QCursor>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

constexpr Qt::WindowFlags popoverFlags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;

QFrame* divider(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QStringLiteral("divider"));
    line->setFixedHeight(1);
    return line;
}

} // namespace

PopoverWindow::PopoverWindow(AppModel& model, DesktopWindows& desktop, QWidget* parent)
    : QWidget(parent, popoverFlags)
    , model_(model)
    , desktop_(desktop)
    , translucent_(desktop.composites())
    , header_(new PopoverHeader(model, this))
    , captureBar_(new CaptureBar(this))
    , search_(new QLineEdit(this))
    , listArea_(new QStackedWidget(this))
    , table_(new InboxTableView(model, listArea_))
    , empty_(new EmptyInbox(model, listArea_))
{
    setWindowTitle(QStringLiteral("Dropwell"));
    setFixedSize(fixedSize);
    setAttribute(Qt::WA_TranslucentBackground, translucent_);

    auto* searchIcon = new QLabel(this);
    searchIcon->setObjectName(QStringLiteral("searchIcon"));
    search_->setObjectName(QStringLiteral("search"));
    search_->setPlaceholderText(tr("Search"));
    search_->setClearButtonEnabled(true);
    search_->setFocusPolicy(Qt::ClickFocus); // the list has the keys until the user clicks here
    auto* searchRow = new QHBoxLayout;
    searchRow->setContentsMargins(14, 8, 14, 8);
    searchRow->setSpacing(8);
    searchRow->addWidget(searchIcon);
    searchRow->addWidget(search_, 1);

    listArea_->addWidget(table_);
    listArea_->addWidget(empty_);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(header_);
    column->addWidget(divider(this));
    column->addWidget(captureBar_);
    auto* toast = new ToastRow(model, this);
    column->addWidget(toast);
    column->addWidget(divider(this));
    auto* banner = new DriftBanner(model, this);
    column->addWidget(banner);
    column->addLayout(searchRow);
    column->addWidget(listArea_, 1);
    column->addWidget(divider(this));
    column->addWidget(new FooterBar(model, this));

    new InboxHotkeys(model, *this); // a child of this window
    connect(search_, &QLineEdit::textChanged, &model_, &AppModel::setSearch);
    connect(&model_, &AppModel::searchChanged, this, [this] {
        if (search_->text() != model_.search())
            search_->setText(model_.search());
    });
    connect(captureBar_, &CaptureBar::captureRequested, this, &PopoverWindow::captureRequested);
    connect(captureBar_, &CaptureBar::recordRequested, this, &PopoverWindow::recordRequested);
    connect(captureBar_, &CaptureBar::stopRecordingRequested, this, &PopoverWindow::stopRecordingRequested);
    connect(captureBar_, &CaptureBar::microphoneToggleRequested, this, &PopoverWindow::microphoneToggleRequested);
    connect(header_, &PopoverHeader::settingsRequested, this, &PopoverWindow::settingsRequested);
    connect(header_, &PopoverHeader::quitRequested, this, &PopoverWindow::quitRequested);
    connect(toast, &ToastRow::quitRequested, this, &PopoverWindow::quitRequested);
    connect(&model_, &AppModel::filesChanged, this, &PopoverWindow::showListOrEmpty);
    connect(&model_, &AppModel::searchChanged, this, &PopoverWindow::showListOrEmpty);
    connect(&model_, &AppModel::settingsChanged, this, [this] {
        captureBar_->setMicrophoneOn(model_.settings().recordWithMic);
        if (model_.shownAppearance() != theme_.mode)
            applyTheme();
    });
    captureBar_->setMicrophoneOn(model_.settings().recordWithMic);
    applyTheme();
    showListOrEmpty();
    clockTick_.setInterval(std::chrono::minutes(1));
    clockTick_.setTimerType(Qt::VeryCoarseTimer);
    connect(&clockTick_, &QTimer::timeout, this, &PopoverWindow::followClock);
}

PopoverWindow::~PopoverWindow() = default;

void PopoverWindow::applyTheme()
{
    theme_ = Theme::forMode(model_.shownAppearance(), translucent_);
    QPalette palette = theme_.palette();
    palette.setColor(QPalette::Window, theme_.popoverBackground);
    setPalette(palette);
    setStyleSheet(popoverStyleSheet(theme_));
    findChild<QLabel*>(QStringLiteral("searchIcon"))
        ->setPixmap(Symbols::pixmap(QStringLiteral("magnifyingglass"), theme_.secondaryText, 14, devicePixelRatioF()));
    header_->refresh();
    empty_->refresh();
    update();
}

void PopoverWindow::setRecording(bool recording) { captureBar_->setRecording(recording); }

void PopoverWindow::followClock()
{
    table_->reload();
    header_->refresh();
}

void PopoverWindow::showListOrEmpty()
{
    listArea_->setCurrentWidget(model_.visibleInbox().isEmpty() ? static_cast<QWidget*>(empty_) : table_);
}

void PopoverWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!translucent_ || isStandIn()) {
        // A decorated window shows nothing through it.
        QColor background = theme_.popoverBackground;
        background.setAlpha(255);
        painter.fillRect(rect(), background);
        return;
    }
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
    painter.fillPath(shape, theme_.popoverBackground);
    painter.setPen(QPen(theme_.separator, 1));
    painter.drawPath(shape);
}

void PopoverWindow::popUp(const QRect& trayIcon)
{
    setStandIn(false);
    const QRect anchor = trayIcon.isValid() ? trayIcon : QRect(QCursor::pos(), QSize(1, 1));
    QScreen* screen = QGuiApplication::screenAt(anchor.center());
    const QRect area = screen ? screen->availableGeometry() : QRect(QPoint(0, 0), fixedSize);
    QRect frame(QPoint(anchor.center().x() - fixedSize.width() / 2, anchor.bottom() + 4), fixedSize);
    if (anchor.center().y() > area.center().y()) // a tray at the bottom: open above it
        frame.moveBottom(anchor.top() - 4);
    frame.moveLeft(std::clamp(frame.left(), area.left(), std::max(area.left(), area.right() - frame.width())));
    frame.moveTop(std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() - frame.height())));
    move(frame.topLeft());
    show();
    raise();
    activateWindow();
}

void PopoverWindow::showAsWindow()
{
    if (!isStandIn() || !isVisible()) {
        setStandIn(true);
        QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        if (screen)
            move(screen->availableGeometry().center() - QPoint(fixedSize.width() / 2, fixedSize.height() / 2));
    }
    show();
    raise();
    activateWindow();
}

bool PopoverWindow::isStandIn() const { return !windowFlags().testFlag(Qt::FramelessWindowHint); }

void PopoverWindow::setStandIn(bool standIn)
{
    if (isStandIn() == standIn)
        return;
    // New flags take the window off the screen; the caller shows it again.
    setWindowFlags(standIn ? Qt::WindowFlags(Qt::Window) : popoverFlags);
    // Where staying on top changes, X11 makes the native window anew only
    // as it maps it, after showEvent has set the taskbar hints on the old
    // one; made anew now, the hints reach the window that is shown.
    if (windowHandle())
        destroy();
}

void PopoverWindow::toggle(const QRect& trayIcon)
{
    if (isVisible())
        hide();
    else
        popUp(trayIcon);
}

void PopoverWindow::showEvent(QShowEvent* event)
{
    // The tray icon is its way in, not the task list; standing in for a
    // missing tray, it is listed like any window.
    desktop_.keepOffTaskbar(*windowHandle(), !isStandIn());
    QWidget::showEvent(event);
    model_.start();
    table_->reload();
    showListOrEmpty();
    table_->setFocus();
    clockTick_.start();
}

void PopoverWindow::hideEvent(QHideEvent* event)
{
    clockTick_.stop();
    QWidget::hideEvent(event);
    Q_EMIT hidden();
}
