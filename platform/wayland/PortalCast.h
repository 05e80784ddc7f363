#pragma once

#include "platform/FrameSource.h"
#include "platform/wayland/ScreenCastSession.h"

#include <QDBusConnection>

#include <memory>

class PipeWireFrameSource;

// A screen cast the desktop granted, as recording pictures: the portal's
// session and the PipeWire stream it opened, which ends with the session.
class PortalCast final : public FrameSource {
public:
    // Asks the portal for `source` (the user, the desktop's policy or the
    // restore token decide what exactly) and connects to its pictures.
    // `restoreToken` is replaced by the one for next time.
    static QCoro::Task<StatusOr<std::unique_ptr<PortalCast>>> open(
        QDBusConnection bus, ScreenCastSource source, int buffers, QString* restoreToken);
    ~PortalCast() override;

    QSize frameSize() const override;
    int bufferCount() const override;
    StatusOr<FramePixels> grab(int buffer) override;
    PipeWireFrameSource& pictures() { return *pictures_; }

private:
    PortalCast(std::unique_ptr<ScreenCastSession> session, std::unique_ptr<PipeWireFrameSource> pictures);

    std::unique_ptr<ScreenCastSession> session_;
    std::unique_ptr<PipeWireFrameSource> pictures_;
};
