#pragma once

#include "capture/CaptureError.h"
#include "platform/ScreenCapture.h"

#include <QObject>

#include <qcoro/qcorotask.h>

#include <memory>

class CaptureHost;
class DefaultsStore;
class PermissionPanel;
class Relauncher;
class ScreenClearing;

// The way through a desktop that refuses screen capture. Each refusal in a
// row goes one step further: a message to allow it, then one relaunch of
// Dropwell (a desktop may grant it only to a program started after), then
// the guidance panel until a capture succeeds.
class CaptureAccess : public QObject {
    Q_OBJECT
public:
    struct Ports {
        ScreenCapture* screen = nullptr;
        DefaultsStore* defaults = nullptr;
        Relauncher* relauncher = nullptr;
    };

    CaptureAccess(Ports ports, CaptureHost& host, ScreenClearing& clearing);
    ~CaptureAccess() override;

    // The displays and windows; a refusal asks the user once more, then
    // takes the next step.
    QCoro::Task<CaptureResult<CaptureContent>> content();
    // The desktop refused: the next step, which has told the user.
    CaptureError refused();
    // What a desktop's failed answer means for a capture: a closed dialog
    // cancels it, a refusal takes the next step, anything else fails with
    // the desktop's reason.
    CaptureError notGranted(const Status& answer);
    // A picture was taken: the steps start again from the first.
    void markReady();

    bool blockedUntilRelaunch() const { return blockedUntilRelaunch_; }
    // Opens the desktop's place to allow screen capture; false where there is none.
    bool openAccessSettings();
    bool hasAccessSettings() const;
    static QString nothingToAllow();
    PermissionPanel* panel() const { return panel_.get(); }

Q_SIGNALS:
    // The user must read the popover's message.
    void attentionRequested();

private:
    void showPanel();

    Ports ports_;
    CaptureHost& host_;
    ScreenClearing& clearing_;
    std::unique_ptr<PermissionPanel> panel_;
    bool blockedUntilRelaunch_ = false;
};
