#pragma once

#include "capture/recording/RecordingRun.h"
#include "ui/thumbnails/PdfPages.h"

#include <QImage>
#include <QString>

#include <utility>

// The codecs live in modules of their own next to the windowed executable,
// each loaded by the first call that needs it, and unloaded again when an
// idle Dropwell asks and nothing holds it: the relocated data of their
// hundred libraries is memory the system cannot take back otherwise.
// FFmpeg (recording, video thumbnails) and Poppler (PDF thumbnails and
// pages) are apart, so that a recording does not bring in Poppler, nor a
// PDF FFmpeg.
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

template <typename Table>
class Lease;

// A module's table, loaded if it is not, from whichever thread asks, and
// held while the lease lives; else why not, in words for a log or a message.
StatusOr<Lease<VideoFunctions>> video();
StatusOr<Lease<PdfFunctions>> pdf();

// Unloads each loaded module no lease holds; the next lease loads it anew.
void unloadUnused();

// Keeps a module loaded while it lives: its table's functions may be called,
// and what they made may live, only meanwhile.
template <typename Table>
class Lease {
public:
    Lease() = default;
    Lease(Lease&& other) noexcept : table_(std::exchange(other.table_, nullptr)) {}
    Lease& operator=(Lease&&) = delete;
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    ~Lease();

    const Table* operator->() const { return table_; }

private:
    friend StatusOr<Lease<VideoFunctions>> video();
    friend StatusOr<Lease<PdfFunctions>> pdf();
    // Takes over a hold already counted.
    explicit Lease(const Table* table) : table_(table) {}

    const Table* table_ = nullptr;
};

} // namespace MediaModule
