#pragma once

#include <QImage>
#include <QPainter>
#include <QRasterWindow>

#include <optional>

// Every device pixel of a patterned window tells where in the window it is,
// so a picture off by one pixel anywhere cannot pass.
inline QRgb pattern(QPoint pixel)
{
    return qRgb(pixel.x() & 0xff, pixel.y() & 0xff, ((pixel.x() >> 8) << 4 | (pixel.y() >> 8)) & 0xff);
}

// A window of one colour, or of the pattern where it is given none.
class Swatch final : public QRasterWindow {
public:
    explicit Swatch(std::optional<QColor> colour = std::nullopt) : colour_(colour) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        if (colour_) {
            painter.fillRect(QRect(QPoint(), size()), *colour_);
            return;
        }
        QImage pixels(size() * devicePixelRatio(), QImage::Format_RGB32);
        for (int y = 0; y < pixels.height(); ++y)
            for (int x = 0; x < pixels.width(); ++x)
                pixels.setPixel(x, y, pattern({x, y}));
        pixels.setDevicePixelRatio(devicePixelRatio());
        painter.drawImage(0, 0, pixels);
    }

private:
    std::optional<QColor> colour_;
};

// "" when `image` shows `expected` at every pixel, else the first difference.
template <typename Expected>
QString difference(const QImage& image, QSize size, Expected expected)
{
    if (image.size() != size)
        return QStringLiteral("image is %1 x %2, expected %3 x %4").arg(image.width()).arg(image.height()).arg(size.width()).arg(size.height());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (QRgb want = expected(QPoint(x, y)) | 0xff000000u; image.pixel(x, y) != want)
                return QStringLiteral("pixel %1,%2 is %3, expected %4")
                    .arg(x).arg(y).arg(QColor(image.pixel(x, y)).name(), QColor(want).name());
    return {};
}
