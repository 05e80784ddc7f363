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
    static QCoro::Task<StatusOr<std::unique_ptr<PortalCast>>> open(QDBusConnection bus, ScreenCastSource source,
        int buffers, QString* restoreToken, CastControl control = CastControl::None);
    ~PortalCast() override;

    QSize frameSize() const override;
    int bufferCount() const override;
    StatusOr<FramePixels> grab(int buffer) override;
    PipeWireFrameSource& pictures() { return *pictures_; }
    ScreenCastSession& session() { return *session_; }
    const ScreenCastStream& stream() const { return stream_; }

private:
    PortalCast(std::unique_ptr<ScreenCastSession> session, ScreenCastStream stream,
        std::unique_ptr<PipeWireFrameSource> pictures);

    std::unique_ptr<ScreenCastSession> session_;
    ScreenCastStream stream_;
    std::unique_ptr<PipeWireFrameSource> pictures_;
};
