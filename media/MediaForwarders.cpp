// The codecs' entry points as the windowed Dropwell sees them: each call goes
// to its media module, loaded if it is not, and holds it while it runs.
// Without the module a recording does not start, and thumbnails and PDF
// pages are not drawn; the reason is logged once and given where there is a
// place to say it.
#include "media/MediaModule.h"

#include "ui/thumbnails/VideoFrame.h"

#include <QCoreApplication>

namespace {

// A recording made by the video module, which stays loaded until the
// recording is gone.
class LeasedRun final : public RecordingRun {
public:
    LeasedRun(MediaModule::Lease<MediaModule::VideoFunctions> lease, std::unique_ptr<RecordingRun> run)
        : lease_(std::move(lease)), run_(std::move(run))
    {
    }
    void start(std::function<void()> ended) override { run_->start(std::move(ended)); }
    void requestStop() override { run_->requestStop(); }
    Outcome finish() override { return run_->finish(); }

private:
    MediaModule::Lease<MediaModule::VideoFunctions> lease_;
    std::unique_ptr<RecordingRun> run_; // goes first
};

} // namespace

Status openRecordingRun(std::unique_ptr<FrameSource> frames, std::unique_ptr<SoundSource> sound, const QString& path,
    std::unique_ptr<RecordingRun>& run)
{
    auto module = MediaModule::video();
    if (!module.ok())
        return module.status();
    std::unique_ptr<RecordingRun> opened;
    const Status status = module.value()->openRecordingRun(std::move(frames), std::move(sound), path, opened);
    if (opened)
        run = std::make_unique<LeasedRun>(std::move(module.value()), std::move(opened));
    return status;
}

QImage VideoFrame::first(const QString& path, int side)
{
    const auto module = MediaModule::video();
    return module.ok() ? module.value()->firstVideoFrame(path, side) : QImage();
}

QImage PdfPages::first(const QString& path, int side)
{
    const auto module = MediaModule::pdf();
    return module.ok() ? module.value()->firstPdfPage(path, side) : QImage();
}

PdfPages::Rendered PdfPages::render(const QString& path, int width, int count)
{
    const auto module = MediaModule::pdf();
    if (!module.ok())
        return {{}, QCoreApplication::translate("MediaForwarders", "PDF pages cannot be shown: Dropwell's media module is missing.")};
    return module.value()->pdfPages(path, width, count);
}
