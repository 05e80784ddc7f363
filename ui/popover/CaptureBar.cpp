#include "ui/popover/CaptureBar.h"

#include "ui/popover/SymbolButton.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

CaptureBar::CaptureBar(QWidget* parent) : QWidget(parent), hintLabel_(new QLabel(this)), buttons_(new QHBoxLayout)
{
    auto* title = new QLabel(QStringLiteral("Capture"), this);
    title->setObjectName(QStringLiteral("captureTitle"));
    hintLabel_->setObjectName(QStringLiteral("captureHint"));
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(title);
    titleRow->addStretch(1);
    titleRow->addWidget(hintLabel_);

    buttons_->setSpacing(6);
    addButton(QStringLiteral("capture-visible"), QStringLiteral("Visible"), CaptureKind::Visible);
    addButton(QStringLiteral("capture-region"), QStringLiteral("Region"), CaptureKind::Region);
    addButton(QStringLiteral("capture-window"), QStringLiteral("Window"), CaptureKind::Window);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(14, 8, 14, 8);
    column->setSpacing(6);
    column->addLayout(titleRow);
    column->addLayout(buttons_);
    setHint({});
}

void CaptureBar::addButton(const QString& symbol, const QString& help, CaptureKind kind)
{
    auto* button = new SymbolButton(symbol, QString(), this);
    button->setObjectName(QStringLiteral("captureButton"));
    button->setTiled(true);
    button->setSymbolSize(14);
    button->setFixedHeight(30);
    button->setToolTip(help);
    button->setAccessibleName(help);
    button->setProperty("hint", help);
    button->installEventFilter(this);
    connect(button, &SymbolButton::clicked, this, [this, kind] { Q_EMIT captureRequested(kind); });
    buttons_->addWidget(button, 1);
}

bool CaptureBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter)
        setHint(watched->property("hint").toString());
    else if (event->type() == QEvent::Leave)
        setHint({});
    return false;
}

void CaptureBar::setHint(const QString& hint)
{
    hint_ = hint;
    hintLabel_->setText(hint);
    hintLabel_->setVisible(!hint.isEmpty());
}
