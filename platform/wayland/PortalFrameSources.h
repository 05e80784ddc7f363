#pragma once

#include "platform/FrameSource.h"

#include <QDBusConnection>
#include <QString>

class DefaultsStore;

// Recording pictures on a desktop that casts its screens through the
// ScreenCast portal and PipeWire. The desktop chooses what is cast: its
// dialog, or its policy, picks the monitor or the window.
class PortalFrameSources final : public FrameSources {
public:
    // Where the desktop's permission to cast the same monitor again is kept.
    static inline const QString restoreTokenKey = QStringLiteral("screenCastRestoreToken");

    // `defaults` may be null: the permission then lasts for this process.
    PortalFrameSources(QDBusConnection bus, DefaultsStore* defaults);

    // The desktop casts the monitor it was allowed to before, or asks which.
    QCoro::Task<OpenedFrames> openDisplay(CaptureDisplay display, int buffers) override;
    // The desktop asks which window, every time.
    QCoro::Task<OpenedFrames> openWindow(CaptureWindow window, int buffers) override;
    bool asksForWindow() const override { return true; }

private:
    QDBusConnection bus_;
    DefaultsStore* defaults_;
    QString restoreToken_; // where there is no store
};
