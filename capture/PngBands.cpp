#include "capture/PngBands.h"

#include <QThread>
#include <QtConcurrent/QtConcurrentMap>
#include <QtEndian>

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace {

constexpr int dictionaryBytes = 32 * 1024; // deflate's whole window
constexpr int rowsPerBandAtLeast = 32;

enum Filter : uchar { None = 0, Sub = 1, Up = 2, Average = 3, Paeth = 4 };

struct Layout {
    QImage pixels; // in a format whose bytes are the PNG's samples
    uchar colorType;
    int bytesPerPixel;
};

Layout layoutFor(const QImage& image)
{
    if (image.format() == QImage::Format_Grayscale8)
        return {image, 0, 1};
    if (image.hasAlphaChannel())
        return {image.convertToFormat(QImage::Format_RGBA8888), 6, 4};
    return {image.convertToFormat(QImage::Format_RGB888), 2, 3};
}

uchar paeth(int left, int above, int aboveLeft)
{
    const int estimate = left + above - aboveLeft;
    const int toLeft = std::abs(estimate - left);
    const int toAbove = std::abs(estimate - above);
    const int toAboveLeft = std::abs(estimate - aboveLeft);
    if (toLeft <= toAbove && toLeft <= toAboveLeft)
        return uchar(left);
    return uchar(toAbove <= toAboveLeft ? above : aboveLeft);
}

// One row under `filter`, into `out` (filter byte first). `above` is a row
// of zeros for the first row.
void filterRow(Filter filter, const uchar* row, const uchar* above, int length, int bpp, uchar* out)
{
    out[0] = filter;
    uchar* into = out + 1;
    const int first = std::min(bpp, length);
    switch (filter) {
    case None:
        std::copy_n(row, length, into);
        return;
    case Sub:
        std::copy_n(row, first, into);
        for (int i = bpp; i < length; ++i)
            into[i] = uchar(row[i] - row[i - bpp]);
        return;
    case Up:
        for (int i = 0; i < length; ++i)
            into[i] = uchar(row[i] - above[i]);
        return;
    case Average:
        for (int i = 0; i < first; ++i)
            into[i] = uchar(row[i] - above[i] / 2);
        for (int i = bpp; i < length; ++i)
            into[i] = uchar(row[i] - (row[i - bpp] + above[i]) / 2);
        return;
    case Paeth:
        for (int i = 0; i < first; ++i)
            into[i] = uchar(row[i] - above[i]);
        for (int i = bpp; i < length; ++i)
            into[i] = uchar(row[i] - paeth(row[i - bpp], above[i], above[i - bpp]));
        return;
    }
}

// The filter whose output has the smallest sum of magnitudes compresses
// best in most rows: the choice libpng makes too.
void bestFilteredRow(const uchar* row, const uchar* above, int length, int bpp, uchar* out, std::vector<uchar>& scratch)
{
    const auto cost = [length](const uchar* filtered) {
        long sum = 0;
        for (int i = 1; i <= length; ++i)
            sum += std::abs(int(static_cast<signed char>(filtered[i])));
        return sum;
    };
    long best = -1;
    for (const Filter filter : {None, Sub, Up, Average, Paeth}) {
        filterRow(filter, row, above, length, bpp, scratch.data());
        const long sum = cost(scratch.data());
        if (best < 0 || sum < best) {
            best = sum;
            std::copy_n(scratch.data(), length + 1, out);
        }
    }
}

struct Band {
    int firstRow = 0;
    int rows = 0;
    bool last = false;
    QByteArray filtered;
    QByteArray compressed;
    uLong adler = 0;
    bool ok = false;
};

void filterBand(const Layout& layout, Band& band)
{
    const int length = layout.pixels.width() * layout.bytesPerPixel;
    band.filtered.resize(qsizetype(band.rows) * (length + 1));
    std::vector<uchar> scratch(std::size_t(length) + 1);
    const std::vector<uchar> zeros(std::size_t(length), 0);
    for (int y = 0; y < band.rows; ++y) {
        const int row = band.firstRow + y;
        bestFilteredRow(layout.pixels.constScanLine(row), row > 0 ? layout.pixels.constScanLine(row - 1) : zeros.data(), length,
            layout.bytesPerPixel, reinterpret_cast<uchar*>(band.filtered.data()) + qsizetype(y) * (length + 1), scratch);
    }
    band.adler = adler32_z(adler32_z(0, nullptr, 0), reinterpret_cast<const Bytef*>(band.filtered.constData()),
        std::size_t(band.filtered.size()));
}

// Raw deflate: the stream's header and checksum are written around the bands.
void compressBand(Band& band, const QByteArray* dictionary, int level)
{
    z_stream stream {};
    if (deflateInit2(&stream, level, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        return;
    if (dictionary && !dictionary->isEmpty()) {
        const qsizetype take = std::min<qsizetype>(dictionary->size(), dictionaryBytes);
        deflateSetDictionary(&stream, reinterpret_cast<const Bytef*>(dictionary->constData() + dictionary->size() - take), uInt(take));
    }
    band.compressed.resize(qsizetype(deflateBound(&stream, uLong(band.filtered.size()))) + 16);
    stream.next_in = reinterpret_cast<Bytef*>(band.filtered.data());
    stream.avail_in = uInt(band.filtered.size());
    stream.next_out = reinterpret_cast<Bytef*>(band.compressed.data());
    stream.avail_out = uInt(band.compressed.size());
    // A band that is not the last ends on a byte boundary, so the next
    // band's output can follow it directly.
    const int result = deflate(&stream, band.last ? Z_FINISH : Z_SYNC_FLUSH);
    band.ok = stream.avail_in == 0 && stream.avail_out > 0 && result == (band.last ? Z_STREAM_END : Z_OK);
    band.compressed.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
}

void appendChunk(QByteArray& file, const char* type, const QByteArray& data)
{
    std::array<uchar, 4> length {};
    qToBigEndian(quint32(data.size()), length.data());
    file.append(reinterpret_cast<const char*>(length.data()), 4);
    const qsizetype start = file.size();
    file.append(type, 4);
    file.append(data);
    std::array<uchar, 4> crc {};
    qToBigEndian(quint32(crc32_z(0, reinterpret_cast<const Bytef*>(file.constData() + start), std::size_t(4 + data.size()))), crc.data());
    file.append(reinterpret_cast<const char*>(crc.data()), 4);
}

QByteArray header(const QImage& image, uchar colorType)
{
    QByteArray data(13, '\0');
    qToBigEndian(quint32(image.width()), data.data());
    qToBigEndian(quint32(image.height()), data.data() + 4);
    data[8] = 8; // bits per sample
    data[9] = char(colorType);
    return data; // compression, filter and interlace methods: 0
}

} // namespace

namespace PngBands {

QByteArray encode(const QImage& image, int level)
{
    if (image.isNull())
        return {};
    const Layout layout = layoutFor(image);
    if (layout.pixels.isNull())
        return {};
    const int height = layout.pixels.height();
    const int bandCount = std::clamp(height / rowsPerBandAtLeast, 1, std::max(1, QThread::idealThreadCount()));
    std::vector<Band> bands(static_cast<std::size_t>(bandCount));
    for (int i = 0; i < bandCount; ++i) {
        Band& band = bands[std::size_t(i)];
        band.firstRow = int(qint64(height) * i / bandCount);
        band.rows = int(qint64(height) * (i + 1) / bandCount) - band.firstRow;
        band.last = i == bandCount - 1;
    }
    QtConcurrent::blockingMap(bands, [&layout](Band& band) { filterBand(layout, band); });
    std::vector<int> order(static_cast<std::size_t>(bandCount));
    for (int i = 0; i < bandCount; ++i)
        order[std::size_t(i)] = i;
    QtConcurrent::blockingMap(order, [&bands, level](int i) {
        compressBand(bands[std::size_t(i)], i > 0 ? &bands[std::size_t(i) - 1].filtered : nullptr, level);
    });

    QByteArray idat;
    // The zlib header for deflate with a 32 KB window; its check bits make it
    // a multiple of 31.
    idat.append(char(0x78));
    idat.append(char(0x5E));
    uLong adler = adler32_z(0, nullptr, 0);
    for (const Band& band : bands) {
        if (!band.ok)
            return {};
        idat.append(band.compressed);
        adler = adler32_combine(adler, band.adler, z_off_t(band.filtered.size()));
    }
    std::array<uchar, 4> checksum {};
    qToBigEndian(quint32(adler), checksum.data());
    idat.append(reinterpret_cast<const char*>(checksum.data()), 4);

    QByteArray file("\x89PNG\r\n\x1a\n", 8);
    appendChunk(file, "IHDR", header(image, layout.colorType));
    appendChunk(file, "IDAT", idat);
    appendChunk(file, "IEND", {});
    return file;
}

} // namespace PngBands
