#pragma once

#include "capture/recording/RecordingRun.h"
#include "ui/thumbnails/PdfPages.h"

#include <QImage>
#include <QString>

// The recording encoders and the video and PDF decoders, with FFmpeg and
// Poppler behind them, live in a module of their own next to the windowed
// executable. It is loaded by the first recording, video thumbnail or PDF
// preview, and stays loaded: its libraries keep state that cannot be
// unloaded safely.
namespace MediaModule {

// Raised whenever the table below changes, so that a module left over from
// another version is refused rather than called wrongly.
constexpr int version = 1;

struct Functions {
    int version;
    Status (*openRecordingRun)(std::unique_ptr<FrameSource>, std::unique_ptr<SoundSource>, const QString&,
        std::unique_ptr<RecordingRun>&);
    QImage (*firstVideoFrame)(const QString& path, int side);
    QImage (*firstPdfPage)(const QString& path, int side);
    PdfPages::Rendered (*pdfPages)(const QString& path, int width, int count);
};

// The name of the module's one exported function, which returns its table.
inline constexpr char entryName[] = "dropwellMediaFunctions";
using Entry = const Functions* (*)();

// The module's table, loaded on the first call from whichever thread makes
// it; else why not, in words for a log or a message.
StatusOr<const Functions*> functions();

} // namespace MediaModule
