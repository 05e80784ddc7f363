// The codecs' entry points as the windowed Dropwell sees them: each call goes
// to its media module, loaded by the first of them. Without the module a
// recording does not start, and thumbnails and PDF pages are not drawn; the
// reason is logged once and given where there is a place to say it.
#include "media/MediaModule.h"

#include "ui/thumbnails/VideoFrame.h"

#include <QCoreApplication>

Status openRecordingRun(std::unique_ptr<FrameSource> frames, std::unique_ptr<SoundSource> sound, const QString& path,
    std::unique_ptr<RecordingRun>& run)
{
    const auto module = MediaModule::video();
    if (!module.ok())
        return module.status();
    return module.value()->openRecordingRun(std::move(frames), std::move(sound), path, run);
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
