#include "ui/InboxHotkeys.h"

#include "app/model/AppModel.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

// X11 key codes of the keys' places on a PC keyboard (evdev code + 8); Wayland
// reports the same numbers.
InboxHotkeys::Key keyAtCode(quint32 code)
{
    switch (code) {
    case 65: return InboxHotkeys::Key::Space;
    case 36: // Return
    case 104: return InboxHotkeys::Key::Return; // keypad Enter
    case 22: // Backspace
    case 119: return InboxHotkeys::Key::Erase; // Delete
    case 9: return InboxHotkeys::Key::Escape;
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

InboxHotkeys::Key InboxHotkeys::physicalKey(const QKeyEvent& event)
{
    return event.nativeScanCode() != 0 ? keyAtCode(event.nativeScanCode()) : keyOfMeaning(event.key());
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
    const Key key = physicalKey(event);
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
        model_.toggleQuickLook();
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
