#include "ui/settings/KeyCaptureButton.h"

#include <QKeyEvent>
#include <QKeySequence>

namespace {

bool isModifierAlone(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_unknown:
        return true;
    default:
        return false;
    }
}

} // namespace

KeyCaptureButton::KeyCaptureButton(QWidget* parent) : QPushButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QPushButton::clicked, this, [this] { listen(!listening_); });
    showKey();
}

void KeyCaptureButton::setKey(std::optional<QKeyCombination> key)
{
    key_ = key;
    showKey();
}

void KeyCaptureButton::showKey()
{
    if (listening_)
        setText(tr("Press a key…"));
    else if (key_)
        setText(QKeySequence(*key_).toString(QKeySequence::NativeText));
    else
        setText(tr("Set key"));
}

void KeyCaptureButton::listen(bool on)
{
    if (listening_ == on)
        return;
    listening_ = on;
    if (on) {
        setFocus(Qt::OtherFocusReason);
        grabKeyboard();
    } else {
        releaseKeyboard();
    }
    showKey();
}

void KeyCaptureButton::keyPressEvent(QKeyEvent* event)
{
    if (!listening_) {
        QPushButton::keyPressEvent(event);
        return;
    }
    event->accept();
    const Qt::KeyboardModifiers modifiers
        = event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    if (isModifierAlone(event->key()))
        return; // the key it modifies is still to come
    listen(false);
    if (event->key() == Qt::Key_Escape && !modifiers)
        return;
    Q_EMIT captured(QKeyCombination(modifiers, Qt::Key(event->key())));
}

void KeyCaptureButton::focusOutEvent(QFocusEvent* event)
{
    listen(false);
    QPushButton::focusOutEvent(event);
}
