#pragma once

#include <QObject>

class AppModel;
class QKeyEvent;
class QWidget;

// The keys of the Inbox, for key presses in the popover only: Space
// previews, Return renames, Backspace or Delete moves to the Trash, Escape
// steps back, Ctrl+A selects all, Ctrl+C copies. Keys are matched by their
// place on the keyboard, so every layout behaves the same; while a text
// field has the focus, the keys are the field's.
class InboxHotkeys : public QObject {
    Q_OBJECT
public:
    enum class Key { None, Space, Return, Erase, Escape, A, C };

    InboxHotkeys(AppModel& model, QWidget& popover);

    // The physical key pressed: by X11/evdev key code where the platform
    // reports one, by the key's meaning where it does not (synthetic events).
    static Key physicalKey(const QKeyEvent& event);
    // Acts on a key press; true when the press was used up.
    bool handle(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AppModel& model_;
    QWidget& popover_;
};
