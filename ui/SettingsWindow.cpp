#include "ui/SettingsWindow.h"

#include "model/AppModel.h"
#include "ui/Symbols.h"
#include "ui/Theme.h"
#include "ui/settings/AboutPane.h"
#include "ui/settings/AutoDeletePane.h"
#include "ui/settings/CapturePane.h"
#include "ui/settings/GeneralPane.h"
#include "ui/settings/PaneFade.h"
#include "ui/settings/SettingsSidebar.h"
#include "ui/settings/SettingsStyle.h"
#include "ui/settings/Surface.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

constexpr QSize windowSize(640, 520);
constexpr int cubeSize = 18;

} // namespace

using namespace SettingsStyle;

SettingsWindow::SettingsWindow(
    AppModel& model, MicrophoneCard::Check checkMicrophone, Autostart* autostart, const ShortcutsSetup& shortcuts, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , model_(model)
{
    setWindowTitle(tr("Settings"));
    setFixedSize(windowSize);

    sidebar_ = new SettingsSidebar(this);
    auto* paneArea = new Surface(Surface::Kind::PaneArea, this);
    panes_ = new QStackedWidget(paneArea);
    panes_->setObjectName(QStringLiteral("panes"));
    auto* paneAreaLayout = new QVBoxLayout(paneArea);
    paneAreaLayout->setContentsMargins(0, 0, 0, 0);
    paneAreaLayout->addWidget(panes_);
    addPane(QStringLiteral("sliders"), tr("General"), new GeneralPane(model_, autostart));
    capturePane_ = new CapturePane(model_, std::move(checkMicrophone), shortcuts);
    connect(capturePane_, &CapturePane::accessSettingsRequested, this, &SettingsWindow::accessSettingsRequested);
    addPane(QStringLiteral("camera"), tr("Capture"), capturePane_);
    addPane(QStringLiteral("sparkles"), tr("Auto-delete"), new AutoDeletePane(model_));
    addPane(QStringLiteral("info-circle"), tr("About"), new AboutPane(model_));

    auto* body = new QHBoxLayout;
    body->setSpacing(0);
    body->addWidget(sidebar_);
    body->addWidget(divider(Qt::Vertical, this));
    body->addWidget(paneArea, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeHeader());
    layout->addWidget(divider(Qt::Horizontal, this));
    layout->addLayout(body, 1);

    auto* fade = new PaneFade(*panes_);
    connect(sidebar_, &SettingsSidebar::paneChosen, fade, &PaneFade::switchTo);
    connect(&model_, &AppModel::settingsChanged, this, &SettingsWindow::followAppearance);
    followAppearance();
}

SettingsWindow::~SettingsWindow() = default;

QWidget* SettingsWindow::makeHeader()
{
    auto* header = new QWidget(this);
    cube_ = new QLabel(header);
    cube_->setFixedSize(cubeSize, cubeSize);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(20, 14, 20, 14);
    row->setSpacing(10);
    row->addWidget(cube_);
    row->addWidget(label(tr("Settings"), Text::Headline, Tone::Primary, header));
    auto* version = label(QStringLiteral("v") + QCoreApplication::applicationVersion(), Text::CaptionMono, Tone::Tertiary, header);
    version->setObjectName(QStringLiteral("version"));
    row->addWidget(version);
    row->addStretch(1);
    return header;
}

void SettingsWindow::addPane(const QString& symbol, const QString& title, QWidget* pane)
{
    auto* scroll = new QScrollArea(panes_);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(true);
    scroll->setWidget(pane); // the scroll area owns the pane
    scroll->viewport()->setAutoFillBackground(false);
    pane->setAutoFillBackground(false);
    panes_->addWidget(scroll);
    sidebar_->addPane(symbol, title);
}

void SettingsWindow::followAppearance()
{
    const AppearanceMode mode = model_.shownAppearance();
    if (styledFor_ == mode)
        return;
    styledFor_ = mode;
    const Theme theme = Theme::forMode(mode, false);
    applyTheme(this, theme);
    cube_->setPixmap(Symbols::pixmap(QStringLiteral("cube"), theme.text, cubeSize, devicePixelRatioF()));
}

void SettingsWindow::offerAccessSettings(bool offered) { capturePane_->offerAccessSettings(offered); }

void SettingsWindow::showAndRaise()
{
    if (!isVisible()) {
        const QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        QRect frame(QPoint(0, 0), windowSize);
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}
