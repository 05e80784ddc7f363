#pragma once

// Small files of each kind a preview or a thumbnail meets, made in memory;
// a video is made by ffmpeg.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QSize>
#include <QString>

// A red picture of `size`, as PNG.
inline QByteArray png(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A PDF of `pages` pages, each filled with red.
inline QByteArray pdf(int pages)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    QPainter painter(&writer);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        painter.fillRect(QRect(0, 0, writer.width(), writer.height()), Qt::red);
    }
    painter.end();
    return bytes;
}

// A PDF whose user password is not empty: the standard security handler's
// check value matches no password a reader can try by itself.
inline QByteArray lockedPdf()
{
    QByteArray out("%PDF-1.4\n");
    QList<qsizetype> offsets;
    const QList<QByteArray> objects {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] >>",
        "<< /Filter /Standard /V 1 /R 2 /P -44 /O <" + QByteArray(64, '7') + "> /U <" + QByteArray(64, '3') + "> >>",
    };
    for (int i = 0; i < objects.size(); ++i) {
        offsets.append(out.size());
        out += QByteArray::number(i + 1) + " 0 obj\n" + objects.at(i) + "\nendobj\n";
    }
    const qsizetype xref = out.size();
    out += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
        out += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    out += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R /Encrypt 4 0 R /ID [<"
        + QByteArray(32, 'a') + "> <" + QByteArray(32, 'a') + ">] >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return out;
}

inline QByteArray binary(int size) { return QByteArray::fromHex("00ff7f01fe80").repeated(size / 6 + 1).left(size); }

// Three seconds of red with a tone, as MP4 with H.264; false where ffmpeg cannot make it.
inline bool writeVideo(const QString& path)
{
    const QString arguments = QStringLiteral("-v error -y -f lavfi -i color=c=red:s=320x240:rate=10:d=3 -f lavfi -i sine=frequency=440:d=3"
                                             " -c:v libx264 -pix_fmt yuv420p -shortest");
    return QProcess::execute(QStringLiteral("ffmpeg"), arguments.split(QLatin1Char(' ')) << path) == 0;
}
