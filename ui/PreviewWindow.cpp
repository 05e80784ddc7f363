#include "ui/PreviewWindow.h"

#include "ui/PdfPagesView.h"
#include "ui/PreviewPages.h"
#include "ui/Symbols.h"
#include "ui/VideoPreview.h"
#include "ui/thumbnails/PdfPages.h"

#include <QCursor>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeDatabase>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace {

constexpr QSize windowSize(720, 540);
constexpr int barIconSize = 16;
// Enough to see what a document is, little enough to draw in a moment.
constexpr int pdfPagesShown = 5;

QString cssColor(const QColor& color)
{
    return QStringLiteral("rgba(%1, %2, %3, %4)").arg(color.red()).arg(color.green()).arg(color.blue()).arg(color.alpha());
}

QToolButton* barButton(const QString& toolTip, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setToolTip(toolTip);
    button->setAccessibleName(toolTip);
    button->setIconSize(QSize(barIconSize, barIconSize));
    button->setAutoRaise(true);
    // The window keeps the keyboard: Space must close the preview, not press a button.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

PreviewWindow::PreviewWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , topBar_(new QWidget(this))
    , previous_(barButton(tr("Previous"), topBar_))
    , next_(barButton(tr("Next"), topBar_))
    , title_(new QLabel(topBar_))
    , counter_(new QLabel(topBar_))
    , closeButton_(barButton(tr("Close"), topBar_))
    , pages_(new QStackedWidget(this))
    , image_(new ImageView(pages_))
    , text_(new QPlainTextEdit(pages_))
    , facts_(new FileFactsView(pages_))
    , pdf_(new PdfPagesView(pages_))
{
    setFocusPolicy(Qt::StrongFocus);

    QFont titleFont = title_->font();
    titleFont.setWeight(QFont::DemiBold);
    title_->setFont(titleFont);
    title_->setAlignment(Qt::AlignCenter);
    // The title takes the room it is given and elides to it; a long name must not widen the window.
    title_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    title_->installEventFilter(this);
    counter_->setObjectName(QStringLiteral("previewCounter"));

    auto* bar = new QHBoxLayout(topBar_);
    bar->setContentsMargins(8, 6, 8, 6);
    bar->addWidget(previous_);
    bar->addWidget(next_);
    bar->addWidget(title_, 1);
    bar->addWidget(counter_);
    bar->addWidget(closeButton_);

    auto* separator = new QWidget(this);
    separator->setObjectName(QStringLiteral("previewSeparator"));
    separator->setFixedHeight(1);

    image_->setObjectName(QStringLiteral("imagePage"));
    text_->setObjectName(QStringLiteral("textPage"));
    facts_->setObjectName(QStringLiteral("factsPage"));
    pdf_->setObjectName(QStringLiteral("pdfPage"));
    text_->setReadOnly(true);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setFocusPolicy(Qt::ClickFocus);
    text_->installEventFilter(this);
    for (QWidget* page : {static_cast<QWidget*>(image_), static_cast<QWidget*>(text_), static_cast<QWidget*>(facts_), static_cast<QWidget*>(pdf_)})
        pages_->addWidget(page);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(topBar_);
    layout->addWidget(separator);
    auto* content = new QWidget(this);
    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(16, 16, 16, 16);
    contentLayout->addWidget(pages_);
    layout->addWidget(content, 1);

    connect(previous_, &QToolButton::clicked, this, [this] { showItem(current_ - 1); });
    connect(next_, &QToolButton::clicked, this, [this] { showItem(current_ + 1); });
    connect(closeButton_, &QToolButton::clicked, this, &PreviewWindow::close);

    setTheme(Theme::forMode(AppearanceMode::Black, false)); // until the application gives it its own
}

PreviewWindow::~PreviewWindow() = default;

bool PreviewWindow::isVisible() const
{
    return QWidget::isVisible();
}

void PreviewWindow::toggle(const QStringList& paths, int startAt)
{
    if (isVisible()) {
        close();
        return;
    }
    QStringList existing;
    for (const QString& path : paths) {
        if (QFileInfo::exists(path))
            existing.append(path);
    }
    if (existing.isEmpty())
        return;
    paths_ = existing;
    showItem(std::clamp(startAt, 0, static_cast<int>(paths_.size()) - 1));
    openCentred();
}

void PreviewWindow::close()
{
    hide();
}

void PreviewWindow::setTheme(const Theme& theme)
{
    theme_ = theme;
    setPalette(theme.palette());
    // Labels, the text and the scroll and position bars take their colours
    // from the style sheet: once a window has one, Qt no longer hands its
    // palette's text colour down to them.
    setStyleSheet(QStringLiteral("QLabel { color: %1; }"
                                 "#previewCounter, #factsDetail { color: %2; }"
                                 "#previewSeparator { background: %3; }"
                                 "QToolButton { border: none; border-radius: 6px; padding: 4px; }"
                                 "QToolButton:hover, QToolButton:pressed { background: %4; }"
                                 "QPlainTextEdit { background: %4; color: %1; border: none; border-radius: 8px; padding: 6px; }"
                                 "QScrollBar { background: transparent; width: 10px; height: 10px; margin: 2px; }"
                                 "QScrollBar::handle { background: %3; border-radius: 3px; min-height: 24px; min-width: 24px; }"
                                 "QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; }"
                                 "QScrollBar::add-page, QScrollBar::sub-page { background: none; }"
                                 "QSlider::groove:horizontal { height: 4px; background: %3; border-radius: 2px; }"
                                 "QSlider::sub-page:horizontal { background: %2; border-radius: 2px; }"
                                 "QSlider::handle:horizontal { width: 12px; margin: -4px 0; border-radius: 6px; background: %1; }")
                      .arg(cssColor(theme.text), cssColor(theme.secondaryText), cssColor(theme.separator), cssColor(theme.tile)));
    previous_->setIcon(Symbols::icon(QStringLiteral("chevron-left"), theme.text));
    next_->setIcon(Symbols::icon(QStringLiteral("chevron-right"), theme.text));
    closeButton_->setIcon(Symbols::icon(QStringLiteral("xmark"), theme.text));
    facts_->setSymbolColor(theme.secondaryText);
    if (video_)
        video_->setIconColor(theme.text);
}

void PreviewWindow::keyPressEvent(QKeyEvent* event)
{
    if (!handleKey(event->key()))
        QWidget::keyPressEvent(event);
}

void PreviewWindow::mousePressEvent(QMouseEvent* event)
{
    // Without a frame from the window manager, the top bar is where the window is dragged from.
    if (event->button() == Qt::LeftButton && topBar_->geometry().contains(event->position().toPoint()) && windowHandle()) {
        windowHandle()->startSystemMove();
        return;
    }
    QWidget::mousePressEvent(event);
}

void PreviewWindow::hideEvent(QHideEvent* event)
{
    stopVideo();
    // A tray program stays around all day; it should not hold on to a large picture it no longer shows.
    image_->setImage(QImage());
    text_->clear();
    pdf_->setPages({});
    ++pdfRequest_;
    QWidget::hideEvent(event);
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == title_ && event->type() == QEvent::Resize)
        refreshTitle();
    // The text takes the keyboard focus when clicked, for selecting and copying; the preview's own keys still win.
    if (watched == text_ && event->type() == QEvent::KeyPress)
        return handleKey(static_cast<QKeyEvent*>(event)->key());
    return QWidget::eventFilter(watched, event);
}

bool PreviewWindow::handleKey(int key)
{
    switch (key) {
    case Qt::Key_Left:
        if (current_ > 0)
            showItem(current_ - 1);
        return true;
    case Qt::Key_Right:
        if (current_ + 1 < paths_.size())
            showItem(current_ + 1);
        return true;
    case Qt::Key_Space:
    case Qt::Key_Escape:
        close();
        return true;
    default:
        return false;
    }
}

void PreviewWindow::openCentred()
{
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    QRect frame(QPoint(0, 0), windowSize);
    if (screen) {
        const QRect area = screen->availableGeometry();
        frame.setSize(windowSize.boundedTo(area.size()));
        frame.moveCenter(area.center());
    }
    setGeometry(frame);
    show();
    raise();
    activateWindow();
    setFocus();
}

void PreviewWindow::showItem(int index)
{
    stopVideo();
    ++pdfRequest_;
    current_ = index;
    previous_->setEnabled(current_ > 0);
    next_->setEnabled(current_ + 1 < paths_.size());
    counter_->setVisible(paths_.size() > 1);
    counter_->setText(tr("%1 of %2").arg(current_ + 1).arg(paths_.size()));
    refreshTitle();
    showContent(paths_.at(current_));
}

void PreviewWindow::showContent(const QString& path)
{
    if (PreviewContent::isVideo(QFileInfo(path))) {
        showVideo(path);
        return;
    }
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    if (type.inherits(QStringLiteral("application/pdf"))) {
        showPdf(path);
        return;
    }
    if (QImage image = PreviewContent::readImage(path); !image.isNull()) {
        image_->setImage(std::move(image));
        pages_->setCurrentWidget(image_);
        return;
    }
    if (const std::optional<QString> text = PreviewContent::readText(path, type)) {
        text_->setPlainText(*text);
        pages_->setCurrentWidget(text_);
        return;
    }
    showFacts(path);
}

void PreviewWindow::showFacts(const QString& path, const QString& note)
{
    facts_->setFile(QFileInfo(path), QMimeDatabase().mimeTypeForFile(path), note);
    pages_->setCurrentWidget(facts_);
}

void PreviewWindow::showPdf(const QString& path)
{
    // Poppler takes a while over a large page: the window opens at once with
    // the page empty, and the pages come when they are drawn.
    pdf_->setPages({});
    pages_->setCurrentWidget(pdf_);
    const quint64 request = ++pdfRequest_;
    const int width = PdfPagesView::renderWidth(devicePixelRatioF());
    QtConcurrent::run([path, width] { return PdfPages::render(path, width, pdfPagesShown); })
        .then(this, [this, request, path](PdfPages::Rendered rendered) {
            if (request != pdfRequest_)
                return;
            if (rendered.pages.isEmpty()) {
                showFacts(path, rendered.problem);
                return;
            }
            for (QImage& page : rendered.pages)
                page.setDevicePixelRatio(devicePixelRatioF());
            pdf_->setPages(std::move(rendered.pages));
        });
}

void PreviewWindow::showVideo(const QString& path)
{
    if (!video_) {
        video_ = new VideoPreview(pages_);
        video_->setObjectName(QStringLiteral("videoPage"));
        video_->setIconColor(theme_.text);
        pages_->addWidget(video_);
        // A file named like a video that no decoder takes is still worth its
        // facts. The player may say so from inside play(), so the page changes
        // once that call is over, and only if the file is still the one shown.
        connect(
            video_, &VideoPreview::unplayable, this,
            [this](const QString& failed) {
                if (isVisible() && pages_->currentWidget() == video_ && failed == paths_.at(current_))
                    showFacts(failed);
            },
            Qt::QueuedConnection);
    }
    pages_->setCurrentWidget(video_);
    video_->play(path);
}

void PreviewWindow::stopVideo()
{
    if (video_)
        video_->stop();
}

void PreviewWindow::refreshTitle()
{
    const QString name = paths_.isEmpty() ? QString() : QFileInfo(paths_.at(current_)).fileName();
    setWindowTitle(name);
    title_->setToolTip(name);
    title_->setText(title_->fontMetrics().elidedText(name, Qt::ElideMiddle, title_->width()));
}
