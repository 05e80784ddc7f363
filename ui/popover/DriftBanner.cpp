#include "ui/popover/DriftBanner.h"

#include "model/AppModel.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

DriftBanner::DriftBanner(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    auto* text = new QLabel(tr("Screenshots are not going to Dropwell."), this);
    text->setObjectName(QStringLiteral("callout"));
    auto* fix = new QPushButton(tr("Fix now"), this);
    fix->setObjectName(QStringLiteral("prominent"));
    auto* dismiss = new QPushButton(tr("Dismiss"), this);
    dismiss->setObjectName(QStringLiteral("plain"));
    for (QPushButton* button : {fix, dismiss}) {
        button->setCursor(Qt::PointingHandCursor);
        button->setFocusPolicy(Qt::NoFocus);
    }
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(fix);
    buttons->addWidget(dismiss);
    buttons->addStretch(1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(6);
    column->addWidget(text);
    column->addLayout(buttons);

    connect(fix, &QPushButton::clicked, this, [this] { model_.screenshotRedirect().fix(); });
    connect(dismiss, &QPushButton::clicked, this, [this] { model_.screenshotRedirect().dismissDriftBanner(); });
    connect(&model_.screenshotRedirect(), &ScreenshotRedirect::locationDriftChanged, this, &DriftBanner::refresh);
    connect(&model_, &AppModel::settingsChanged, this, &DriftBanner::refresh);
    refresh();
}

void DriftBanner::refresh()
{
    setVisible(model_.screenshotRedirect().locationDrift() && !model_.settings().locationDriftBannerDismissed);
}

void DriftBanner::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), Theme::faded(QColor(255, 204, 0), 0.18));
}
