#include "ui/popover/CaptureBar.h"

#include "ui/popover/SymbolButton.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

CaptureBar::CaptureBar(QWidget* parent) : QWidget(parent), hintLabel_(new QLabel(this)), buttons_(new QHBoxLayout)
{
    auto* title = new QLabel(tr("Capture"), this);
    title->setObjectName(QStringLiteral("captureTitle"));
    hintLabel_->setObjectName(QStringLiteral("captureHint"));
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(title);
    titleRow->addStretch(1);
    titleRow->addWidget(hintLabel_);

    buttons_->setSpacing(6);
    addCaptureButton(QStringLiteral("capture-visible"), tr("Visible"), CaptureKind::Visible);
    addCaptureButton(QStringLiteral("capture-region"), tr("Region"), CaptureKind::Region);
    addCaptureButton(QStringLiteral("capture-window"), tr("Window"), CaptureKind::Window);
    addCaptureButton(QStringLiteral("capture-page"), tr("Full page"), CaptureKind::Page);
    addRecordControls();

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(14, 8, 14, 8);
    column->setSpacing(6);
    column->addLayout(titleRow);
    column->addLayout(buttons_);
    setHint({});
}

CaptureBar::~CaptureBar() = default;

SymbolButton* CaptureBar::addButton(const QString& symbol, const QString& help, int symbolSize)
{
    auto* button = new SymbolButton(symbol, QString(), this);
    button->setObjectName(QStringLiteral("captureButton"));
    button->setTiled(true);
    button->setSymbolSize(symbolSize);
    button->setFixedHeight(30);
    button->setToolTip(help);
    button->setAccessibleName(help);
    button->setProperty("hint", help);
    button->installEventFilter(this);
    buttons_->addWidget(button, 1);
    return button;
}

void CaptureBar::addCaptureButton(const QString& symbol, const QString& help, CaptureKind kind)
{
    connect(addButton(symbol, help, 14), &SymbolButton::clicked, this, [this, kind] { Q_EMIT captureRequested(kind); });
}

void CaptureBar::addRecordControls()
{
    record_ = addButton(QStringLiteral("record-circle"), tr("Record"), 14);
    connect(record_, &SymbolButton::clicked, this, [this] {
        if (recording_)
            Q_EMIT stopRecordingRequested();
        else
            Q_EMIT recordRequested(false);
    });

    recordMenu_ = std::make_unique<QMenu>();
    recordMenu_->addAction(tr("Record display"), this, [this] { Q_EMIT recordRequested(false); });
    recordMenu_->addAction(tr("Record window"), this, [this] { Q_EMIT recordRequested(true); });
    microphoneAction_ = recordMenu_->addAction(QString(), this, &CaptureBar::microphoneToggleRequested);
    recordMenuButton_ = addButton(QStringLiteral("chevron-down"), tr("More"), 11);
    recordMenuButton_->setAccessibleName(tr("Recording options"));
    connect(recordMenuButton_, &SymbolButton::clicked, this,
        [this] { recordMenu_->popup(recordMenuButton_->mapToGlobal(QPoint(0, recordMenuButton_->height()))); });
    refreshRecordControls();
}

void CaptureBar::setRecording(bool recording)
{
    recording_ = recording;
    refreshRecordControls();
}

void CaptureBar::setMicrophoneOn(bool on)
{
    microphoneOn_ = on;
    refreshRecordControls();
}

void CaptureBar::refreshRecordControls()
{
    const QString help = recording_ ? tr("Stop") : tr("Record");
    record_->setSymbol(recording_ ? QStringLiteral("stop-circle-fill") : QStringLiteral("record-circle"));
    record_->setEmphasised(recording_);
    record_->setToolTip(help);
    record_->setAccessibleName(help);
    record_->setProperty("hint", help);
    if (record_->underMouse())
        setHint(help);
    recordMenuButton_->setEnabled(!recording_);
    microphoneAction_->setText(microphoneOn_ ? tr("Microphone on") : tr("Microphone off"));
}

bool CaptureBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter)
        setHint(watched->property("hint").toString());
    else if (event->type() == QEvent::Leave && hint_ == watched->property("hint").toString())
        setHint({});
    return false;
}

void CaptureBar::hideEvent(QHideEvent* event)
{
    // A click that hides the popover (a capture) gives the button no Leave:
    // the hint would greet the user when it opens again.
    setHint({});
    QWidget::hideEvent(event);
}

void CaptureBar::setHint(const QString& hint)
{
    hint_ = hint;
    hintLabel_->setText(hint);
    hintLabel_->setVisible(!hint.isEmpty());
}
