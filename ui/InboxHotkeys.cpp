#include "ui/InboxHotkeys.h"

#include "model/AppModel.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

// X11 key codes of the letter keys' places on a PC keyboard (evdev code + 8);
// Wayland reports the same numbers. Only for layouts without Latin letters.
InboxHotkeys::Key letterAtCode(quint32 code)
{
    switch (code) {
    case 38: return InboxHotkeys::Key::A;
    case 54: return InboxHotkeys::Key::C;
    default: return InboxHotkeys::Key::None;
    }
}

InboxHotkeys::Key keyOfMeaning(int key)
{
    switch (key) {
    case Qt::Key_Space: return InboxHotkeys::Key::Space;
    case Qt::Key_Return:
    case Qt::Key_Enter: return InboxHotkeys::Key::Return;
    case Qt::Key_Backspace:
    case Qt::Key_Delete: return InboxHotkeys::Key::Erase;
    case Qt::Key_Escape: return InboxHotkeys::Key::Escape;
    case Qt::Key_A: return InboxHotkeys::Key::A;
    case Qt::Key_C: return InboxHotkeys::Key::C;
    default: return InboxHotkeys::Key::None;
    }
}

bool isLatinLetter(int key)
{
    return key >= Qt::Key_A && key <= Qt::Key_Z;
}

bool isEditingText()
{
    QWidget* focus = QApplication::focusWidget();
    return qobject_cast<QLineEdit*>(focus) || qobject_cast<QTextEdit*>(focus) || qobject_cast<QPlainTextEdit*>(focus)
        || qobject_cast<QAbstractSpinBox*>(focus);
}

} // namespace

InboxHotkeys::InboxHotkeys(AppModel& model, QWidget& popover) : QObject(&popover), model_(model), popover_(popover)
{
    qApp->installEventFilter(this);
}

InboxHotkeys::Key InboxHotkeys::keyOf(const QKeyEvent& event)
{
    const int key = event.key();
    // With Control held, Qt already reports the Latin letter of another group
    // of the layout (Russian with US, say); only where the layout has no Latin
    // letter at all does the key's place decide, as Qt's own shortcuts do.
    if (key > 0 && key < Qt::Key_Escape && !isLatinLetter(key) && QChar::isLetter(char32_t(key)))
        return letterAtCode(event.nativeScanCode());
    return keyOfMeaning(key);
}

bool InboxHotkeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    // Only presses in the popover: Backspace in the settings window or the
    // preview must never send files to the Trash.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &popover_ || (widget != QApplication::focusWidget() && widget != &popover_))
        return false;
    return handle(*static_cast<QKeyEvent*>(event));
}

bool InboxHotkeys::handle(const QKeyEvent& event)
{
    const Key key = keyOf(event);
    const bool control = event.modifiers() & Qt::ControlModifier;
    const bool editing = isEditingText();
    const bool previewing = model_.isPreviewVisible();

    if (key == Key::Space && previewing && !control) {
        model_.closePreview();
        return true;
    }
    if (editing)
        return false;
    switch (key) {
    case Key::A:
        if (!control)
            return false;
        model_.selectAllVisible();
        return true;
    case Key::C:
        if (!control || (event.modifiers() & Qt::ShiftModifier))
            return false;
        model_.copySelected();
        return true;
    case Key::Return:
        if (control)
            return false;
        model_.beginRename();
        return true;
    case Key::Space:
        if (control)
            return false;
        model_.togglePreviewOfSelection();
        return true;
    case Key::Erase:
        model_.deleteFiles(model_.selectedFiles());
        return true;
    case Key::Escape:
        if (previewing)
            model_.closePreview();
        else if (model_.renamingID())
            model_.setRenamingID(std::nullopt);
        else if (!model_.selectedIDs().isEmpty())
            model_.setSelectedIDs({});
        return true; // used up even when there was nothing to undo
    case Key::None:
        return false;
    }
    return false;
}
