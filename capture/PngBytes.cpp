#include "capture/PngBytes.h"

#include <QtEndian>

#include <libdeflate.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

namespace {

enum Filter : uchar { Sub = 1, Up = 2 };

// The samples of one row as the PNG stores them.
class RowSamples {
public:
    explicit RowSamples(const QImage& image)
    {
        if (image.format() == QImage::Format_Grayscale8) {
            pixels_ = image;
            colorType_ = 0;
            bytesPerPixel_ = 1;
        } else if (image.hasAlphaChannel()) {
            pixels_ = image.convertToFormat(QImage::Format_RGBA8888);
            colorType_ = 6;
            bytesPerPixel_ = 4;
        } else if (image.format() == QImage::Format_RGB32) {
            // A screen grab: packed row by row below, instead of a whole
            // converted copy of the picture.
            pixels_ = image;
            packed_ = true;
            colorType_ = 2;
            bytesPerPixel_ = 3;
        } else {
            pixels_ = image.convertToFormat(QImage::Format_RGB888);
            colorType_ = 2;
            bytesPerPixel_ = 3;
        }
    }

    bool isNull() const { return pixels_.isNull(); }
    uchar colorType() const { return colorType_; }
    int bytesPerPixel() const { return bytesPerPixel_; }
    int length() const { return pixels_.width() * bytesPerPixel_; }
    int rows() const { return pixels_.height(); }

    // Row `y`'s samples, written into `scratch` where they must be packed.
    const uchar* row(int y, uchar* scratch) const
    {
        if (!packed_)
            return pixels_.constScanLine(y);
        const auto* source = reinterpret_cast<const QRgb*>(pixels_.constScanLine(y));
        const int width = pixels_.width();
        for (int x = 0; x < width; ++x) {
            scratch[3 * x] = uchar(qRed(source[x]));
            scratch[3 * x + 1] = uchar(qGreen(source[x]));
            scratch[3 * x + 2] = uchar(qBlue(source[x]));
        }
        return scratch;
    }

private:
    QImage pixels_;
    bool packed_ = false;
    uchar colorType_ = 2;
    int bytesPerPixel_ = 3;
};

long magnitude(const uchar* filtered, int length)
{
    long sum = 0;
    for (int i = 0; i < length; ++i)
        sum += std::abs(int(static_cast<signed char>(filtered[i])));
    return sum;
}

// One row filtered into `out` (filter byte first) by whichever of Sub and Up
// leaves the smaller sum of magnitudes, the measure libpng uses as well.
void filterRow(const uchar* row, const uchar* above, int length, int bpp, uchar* out, uchar* scratch)
{
    uchar* sub = out + 1;
    for (int i = 0; i < bpp && i < length; ++i)
        sub[i] = row[i];
    for (int i = bpp; i < length; ++i)
        sub[i] = uchar(row[i] - row[i - bpp]);
    for (int i = 0; i < length; ++i)
        scratch[i] = uchar(row[i] - above[i]);
    if (magnitude(scratch, length) < magnitude(sub, length)) {
        out[0] = Up;
        std::copy_n(scratch, length, sub);
    } else {
        out[0] = Sub;
    }
}

// A chunk's length before it and its checksum after it, around the type
// and data already at `chunk + 4`.
void sealChunk(uchar* chunk, std::size_t dataSize)
{
    qToBigEndian(quint32(dataSize), chunk);
    qToBigEndian(quint32(libdeflate_crc32(0, chunk + 4, 4 + dataSize)), chunk + 8 + dataSize);
}

void appendChunk(QByteArray& file, const char* type, const QByteArray& data)
{
    const qsizetype at = file.size();
    file.resize(at + 12 + data.size());
    auto* chunk = reinterpret_cast<uchar*>(file.data() + at);
    std::copy_n(type, 4, chunk + 4);
    std::copy_n(data.constData(), data.size(), chunk + 8);
    sealChunk(chunk, std::size_t(data.size()));
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

struct FreeCompressor {
    void operator()(libdeflate_compressor* compressor) const { libdeflate_free_compressor(compressor); }
};

} // namespace

namespace PngBytes {

QByteArray encode(const QImage& image, int level)
{
    if (image.isNull())
        return {};
    const RowSamples samples(image);
    if (samples.isNull())
        return {};
    const int length = samples.length();
    const std::size_t stride = std::size_t(length) + 1;
    try {
        // Every byte is written before it is read: no time spent clearing.
        const std::unique_ptr<uchar[]> filtered(new uchar[stride * std::size_t(samples.rows())]);
        const std::size_t filteredSize = stride * std::size_t(samples.rows());
        std::vector<uchar> rows(2 * std::size_t(length)); // this row and the one above, packed
        std::vector<uchar> scratch(static_cast<std::size_t>(length));
        const std::vector<uchar> zeros(std::size_t(length), 0);
        const uchar* above = zeros.data();
        for (int y = 0; y < samples.rows(); ++y) {
            uchar* packInto = rows.data() + std::size_t(y % 2) * std::size_t(length);
            const uchar* row = samples.row(y, packInto);
            filterRow(row, above, length, samples.bytesPerPixel(), filtered.get() + stride * std::size_t(y), scratch.data());
            above = row;
        }

        const std::unique_ptr<libdeflate_compressor, FreeCompressor> compressor(libdeflate_alloc_compressor(level));
        if (!compressor)
            return {};
        QByteArray file("\x89PNG\r\n\x1a\n", 8);
        appendChunk(file, "IHDR", header(image, samples.colorType()));
        // The rows are deflated straight into the IDAT chunk's place.
        const qsizetype idatAt = file.size();
        const std::size_t bound = libdeflate_zlib_compress_bound(compressor.get(), filteredSize);
        file.resize(idatAt + 12 + qsizetype(bound));
        auto* idat = reinterpret_cast<uchar*>(file.data() + idatAt);
        std::copy_n("IDAT", 4, idat + 4);
        const std::size_t compressed = libdeflate_zlib_compress(compressor.get(), filtered.get(), filteredSize, idat + 8, bound);
        if (compressed == 0)
            return {};
        sealChunk(idat, compressed);
        file.resize(idatAt + 12 + qsizetype(compressed));
        appendChunk(file, "IEND", {});
        return file;
    } catch (const std::bad_alloc&) {
        return {};
    }
}

} // namespace PngBytes
