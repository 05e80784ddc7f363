#pragma once

#include <QAbstractButton>
#include <QVariantAnimation>

// An on/off switch: a pill with a round knob that slides across when the
// user flips it. It takes focus like any button, and Space flips it.
// Colours come from the palette: the highlight when on, a faint track when off.
class SwitchToggle : public QAbstractButton {
    Q_OBJECT
public:
    explicit SwitchToggle(QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    // A state set from outside, e.g. a setting changed elsewhere, shows at
    // once; only the user's own flip slides.
    void checkStateSet() override;
    void nextCheckState() override;

private:
    QVariantAnimation slide_; // the knob from 0 (off) to 1 (on)
};
