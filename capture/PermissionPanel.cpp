#include "capture/PermissionPanel.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

PermissionPanel::PermissionPanel(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("Dropwell"));
    setFixedSize(420, 188);
    auto* title = new QLabel(tr("Allow screen capture"), this);
    QFont titleFont = title->font();
    titleFont.setPixelSize(17);
    titleFont.setWeight(QFont::DemiBold);
    title->setFont(titleFont);
    auto* body = new QLabel(tr("If your desktop shows a prompt, use that. Otherwise allow Dropwell to capture "
                                           "the screen in your desktop's settings, then click Relaunch."),
        this);
    body->setWordWrap(true);
    auto* open = new QPushButton(tr("Open Settings"), this);
    auto* relaunch = new QPushButton(tr("Relaunch"), this);
    relaunch->setDefault(true);
    connect(open, &QPushButton::clicked, this, &PermissionPanel::openSettingsRequested);
    connect(relaunch, &QPushButton::clicked, this, &PermissionPanel::relaunchRequested);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(open);
    buttons->addStretch(1);
    buttons->addWidget(relaunch);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(24, 20, 24, 20);
    column->addWidget(title);
    column->addWidget(body, 1);
    column->addLayout(buttons);
}

void PermissionPanel::present()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    show();
    raise();
    activateWindow();
}
