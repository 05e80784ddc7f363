// The video module's side: its table of FFmpeg's entry points.
#include "media/MediaModule.h"

#include "ui/thumbnails/VideoFrame.h"

extern "C" Q_DECL_EXPORT const MediaModule::VideoFunctions* dropwellVideoFunctions()
{
    static constexpr MediaModule::VideoFunctions table {MediaModule::videoVersion, &openRecordingRun, &VideoFrame::first};
    return &table;
}
