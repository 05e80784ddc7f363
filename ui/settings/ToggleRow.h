#pragma once

#include <QWidget>

class SwitchToggle;

// A setting that is on or off: its name and a line of explanation on the
// left, the switch on the right. Clicking the words flips it too.
class ToggleRow : public QWidget {
    Q_OBJECT
public:
    ToggleRow(const QString& title, const QString& hint, QWidget* parent = nullptr);

    // Shows the stored value; does not count as the user's change.
    void setOn(bool on);
    bool isOn() const;
    SwitchToggle* switchButton() const { return switch_; }

Q_SIGNALS:
    // The user flipped the switch.
    void flipped(bool on);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    SwitchToggle* switch_;
};
