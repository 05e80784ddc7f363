#pragma once

#include <QKeyCombination>
#include <QPushButton>

#include <optional>

// Shows a key, and on a click takes the next one pressed (with its
// modifiers) as the new one. While it listens it holds the whole keyboard,
// so that a key the desktop itself listens for, Print Screen above all,
// reaches it; Escape or a click elsewhere gives up.
class KeyCaptureButton : public QPushButton {
    Q_OBJECT
public:
    explicit KeyCaptureButton(QWidget* parent = nullptr);

    void setKey(std::optional<QKeyCombination> key);
    bool isListening() const { return listening_; }

Q_SIGNALS:
    void captured(QKeyCombination key);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void listen(bool on);
    void showKey();

    std::optional<QKeyCombination> key_;
    bool listening_ = false;
};
