#pragma once

#include "capture/recording/RecordingRun.h"
#include "ui/thumbnails/PdfPages.h"

#include <QImage>
#include <QString>

// The codecs live in modules of their own next to the windowed executable,
// each loaded by the first call that needs it and kept loaded: their
// libraries keep state that cannot be unloaded safely. FFmpeg (recording,
// video thumbnails) and Poppler (PDF thumbnails and pages) are apart, so
// that a recording does not bring in Poppler, nor a PDF FFmpeg.
namespace MediaModule {

// Each raised whenever its table below changes, so that a module left over
// from another version is refused rather than called wrongly.
constexpr int videoVersion = 2;
constexpr int pdfVersion = 1;

struct VideoFunctions {
    int version;
    Status (*openRecordingRun)(std::unique_ptr<FrameSource>, std::unique_ptr<SoundSource>, const QString&,
        std::unique_ptr<RecordingRun>&);
    QImage (*firstVideoFrame)(const QString& path, int side);
};

struct PdfFunctions {
    int version;
    QImage (*firstPdfPage)(const QString& path, int side);
    PdfPages::Rendered (*pdfPages)(const QString& path, int width, int count);
};

// The names of the modules' one exported function each, which returns
// its table.
inline constexpr char videoEntryName[] = "dropwellVideoFunctions";
inline constexpr char pdfEntryName[] = "dropwellPdfFunctions";

// A module's table, loaded on the first call from whichever thread makes
// it; else why not, in words for a log or a message.
StatusOr<const VideoFunctions*> video();
StatusOr<const PdfFunctions*> pdf();

} // namespace MediaModule
