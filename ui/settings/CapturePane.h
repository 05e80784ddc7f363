#pragma once

#include "ui/settings/MicrophoneCard.h"
#include "ui/settings/ShortcutsCard.h"

#include <QList>
#include <QWidget>

class AppModel;
class QPushButton;
class ToggleRow;

// What comes into the Inbox by itself: screenshots, new downloads, and the
// daily note about what is about to expire; the keys that start captures;
// and the microphone for recordings.
class CapturePane : public QWidget {
    Q_OBJECT
public:
    CapturePane(AppModel& model, MicrophoneCard::Check checkMicrophone, const ShortcutsSetup& shortcuts = {},
        QWidget* parent = nullptr);
    // Offers the desktop's place to allow screen capture, where it has one.
    void offerAccessSettings(bool offered);

Q_SIGNALS:
    // The desktop's place where screen capture is allowed.
    void accessSettingsRequested();

private:
    ToggleRow* addToggleCard(
        const QString& card, const QString& title, const QString& hint, const QString& name, const QList<QWidget*>& below = {});
    void refresh();

    AppModel& model_;
    ToggleRow* screenshots_ = nullptr;
    ToggleRow* downloads_ = nullptr;
    ToggleRow* summary_ = nullptr;
    QPushButton* accessSettings_ = nullptr;
};
