#pragma once

#include <QObject>

class AppModel;
class QKeyEvent;
class QWidget;

// The keys of the Inbox, for key presses in the popover only: Space
// previews, Return renames, Backspace or Delete moves to the Trash, Escape
// steps back, Ctrl+A selects all, Ctrl+C copies. Letters are matched by what
// the user's layout puts on the key, so Ctrl+A on a French keyboard is the
// key marked A; while a text field has the focus, the keys are the field's.
class InboxHotkeys : public QObject {
    Q_OBJECT
public:
    enum class Key { None, Space, Return, Erase, Escape, A, C };

    InboxHotkeys(AppModel& model, QWidget& popover);

    // The Inbox key a press means: by the layout's letter, by the key's place
    // for letters of non-Latin layouts.
    static Key keyOf(const QKeyEvent& event);
    // Acts on a key press; true when the press was used up.
    bool handle(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AppModel& model_;
    QWidget& popover_;
};
