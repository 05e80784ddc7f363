#pragma once

#include "platform/Status.h"
#include "ui/settings/SettingsCard.h"

#include <functional>

class AppModel;
class QLabel;
class QPushButton;

// Whether a recording can take its sound from the microphone. Linux desktops
// do not ask the user's leave for it: what matters is whether the sound
// server has an input to record. The card looks again each time it is shown,
// and when the user asks; one found at the user's asking is switched on.
class MicrophoneCard : public SettingsCard {
    Q_OBJECT
public:
    using Check = std::function<Status()>;

    MicrophoneCard(AppModel& model, Check check, QWidget* parent = nullptr);

    // Looks for the microphone now: true when there is one.
    bool refresh();

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppModel& model_;
    Check check_;
    QLabel* state_;
    QLabel* allowedMark_;
    QPushButton* checkAgain_;
};
