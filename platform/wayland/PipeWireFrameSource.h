#pragma once

#include "platform/FrameSource.h"
#include "platform/wayland/CastFrames.h"
#include "platform/wayland/ScreenCastSession.h"

#include <QImage>
#include <QObject>

#include <qcoro/qcorotask.h>

#include <chrono>
#include <memory>

class PipeWireStream;

// The pictures of a screen cast, received on PipeWire's own thread. The
// desktop sends a picture when something changed, so a still screen sends
// few: every grab hands out the newest one, again if need be.
class PipeWireFrameSource final : public QObject, public FrameSource {
    Q_OBJECT
public:
    // Connects through the stream's own PipeWire descriptor; the portal's
    // session must stay open while pictures are taken.
    static Status open(const ScreenCastStream& stream, int buffers, std::unique_ptr<PipeWireFrameSource>& source);
    ~PipeWireFrameSource() override;

    // The desktop sends its first picture as soon as the stream runs; a wait
    // beyond this means it will not come. A compositor starved of processor
    // time took more than two seconds for it here.
    static constexpr std::chrono::milliseconds firstPictureWait {5000};

    // The first picture's size; before it comes, the portal's, which is in
    // logical pixels (await firstPicture() for the real one).
    QSize frameSize() const override;
    int bufferCount() const override;
    // Waits for the first picture a bounded time; ENOENT once the cast ended.
    StatusOr<FramePixels> grab(int buffer) override;

    // Ends when the first picture came, or with why it did not within `timeout`.
    QCoro::Task<Status> firstPicture(std::chrono::milliseconds timeout);
    // The newest picture, or the first to come within `timeout`.
    QCoro::Task<StatusOr<QImage>> image(std::chrono::milliseconds timeout);
    // The newest picture once none has come for `still`: a picture comes
    // some time after the screen changed, so the newest one alone may show
    // a window halfway through its change. After `timeout`, the newest.
    QCoro::Task<StatusOr<QImage>> stillImage(std::chrono::milliseconds still, std::chrono::milliseconds timeout);

Q_SIGNALS:
    // A picture arrived or the cast ended; delivered on this object's thread.
    void changed();

private:
    PipeWireFrameSource(QSize portalSize, int buffers);

    QSize portalSize_;
    int buffers_;
    CastFrames frames_;
    // Fills frames_ until it is gone.
    std::unique_ptr<PipeWireStream> stream_;
};
