// The module's side: its table of the codecs' entry points.
#include "media/MediaModule.h"

#include "ui/thumbnails/VideoFrame.h"

extern "C" Q_DECL_EXPORT const MediaModule::Functions* dropwellMediaFunctions()
{
    static constexpr MediaModule::Functions table {
        MediaModule::version, &openRecordingRun, &VideoFrame::first, &PdfPages::first, &PdfPages::render};
    return &table;
}
