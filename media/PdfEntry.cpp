// The PDF module's side: its table of Poppler's entry points.
#include "media/MediaModule.h"

extern "C" Q_DECL_EXPORT const MediaModule::PdfFunctions* dropwellPdfFunctions()
{
    static constexpr MediaModule::PdfFunctions table {MediaModule::pdfVersion, &PdfPages::first, &PdfPages::render};
    return &table;
}
