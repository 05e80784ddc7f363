// PNG files of captures: what is written reads back as the very picture, on
// any thread, and the file appears under its name only when complete.
#include "capture/PngEncoder.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

// Smooth shades under noise, partly see-through: every filter wins somewhere.
QImage picture(QSize size, QImage::Format format)
{
    QImage image(size, QImage::Format_ARGB32);
    quint32 seed = 7;
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = int(seed >> 28);
            line[x] = qRgba((x + noise) % 256, (y * 2 + noise) % 256, (x + y + noise * 3) % 256, 40 + (x + y) % 216);
        }
    }
    return image.convertToFormat(format);
}

// Alpha is kept as such; everything else is compared as opaque colour.
QImage comparable(const QImage& image)
{
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

} // namespace

class PngEncoderTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsBackAsWritten_data()
    {
        QTest::addColumn<QImage>("image");
        // Odd row lengths, the smallest picture and a screen.
        for (const QSize size : {QSize(1, 1), QSize(3, 2), QSize(100, 127), QSize(1921, 1081)})
            for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied, QImage::Format_Grayscale8})
                QTest::addRow("%dx%d format %d", size.width(), size.height(), int(format)) << picture(size, format);
    }
    // Written where captures write them: off the GUI thread.
    void readsBackAsWritten()
    {
        QFETCH(QImage, image);
        const QString path = folder.filePath(QStringLiteral("Screenshot %1.png").arg(QString::fromUtf8(QTest::currentDataTag())));
        Status written = Status::success();
        const std::unique_ptr<QThread> worker(QThread::create([&] { written = PngEncoder::write(image, path); }));
        worker->start();
        QVERIFY(worker->wait());
        QVERIFY2(written.ok(), qPrintable(written.message()));
        QCOMPARE(comparable(QImage(path)), comparable(image));
    }

    void failuresLeaveOnlyWhatWasThere()
    {
        const QImage image = picture(QSize(50, 50), QImage::Format_RGB32);
        writeFile(folder.filePath(QStringLiteral("Taken.png")), "mine");
        QVERIFY(!PngEncoder::write(image, folder.filePath(QStringLiteral("Taken.png"))).ok());
        QVERIFY(!PngEncoder::write(image, folder.filePath(QStringLiteral("missing/Unwritable.png"))).ok());
        QVERIFY(!PngEncoder::write(QImage(), folder.filePath(QStringLiteral("Nothing.png"))).ok());
        // No hidden partial file either, and the file that was there is untouched.
        QCOMPARE(QDir(folder.path()).entryList({QStringLiteral("*Taken*"), QStringLiteral("*Unwritable*"), QStringLiteral("*Nothing*")},
                     QDir::AllEntries | QDir::Hidden),
            QStringList {QStringLiteral("Taken.png")});
        QCOMPARE(readFile(folder.filePath(QStringLiteral("Taken.png"))), QByteArray("mine"));
    }

private:
    QTemporaryDir folder;
};

QTEST_MAIN(PngEncoderTest)
#include "tst_png_encoder.moc"
