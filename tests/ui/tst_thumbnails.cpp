// Thumbnails of real files: the desktop's thumbnail cache and its rules, and
// thumbnails made from real pictures, videos and PDFs off the GUI thread.
#include "tests/support/TestSupport.h"
#include "ui/thumbnails/ThumbnailCache.h"
#include "ui/thumbnails/ThumbnailMaker.h"
#include "ui/thumbnails/Thumbnails.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

qint64 modifiedSeconds(const QString& path) { return QFileInfo(path).lastModified().toSecsSinceEpoch(); }

void writePicture(const QString& path, QColor color, QSize size = QSize(400, 300))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    QVERIFY2(image.save(path), qPrintable(path));
}

void writePdf(const QString& path, int pages)
{
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter(&pdf);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            pdf.newPage();
        painter.fillRect(QRect(QPoint(0, 0), QSize(pdf.width(), pdf.height())), Qt::red);
    }
}

void writeVideo(const QString& path)
{
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    QVERIFY2(!ffmpeg.isEmpty(), "ffmpeg makes the test video (scripts/install-deps test)");
    QProcess process;
    process.start(ffmpeg, QStringLiteral("-v error -f lavfi -i color=c=red:s=320x240:d=0.5 -c:v libx264 -pix_fmt yuv420p").split(QLatin1Char(' ')) << path);
    QVERIFY(process.waitForFinished(60000));
    QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());
}

// A thumbnail as a thumbnailer leaves it in the cache.
void writeCached(const QString& file, const QByteArray& uri, qint64 modified, QColor color)
{
    QDir().mkpath(QFileInfo(file).path());
    QImage image(QSize(64, 48), QImage::Format_RGB32);
    image.fill(color);
    if (!uri.isEmpty())
        image.setText(QStringLiteral("Thumb::URI"), QString::fromUtf8(uri));
    if (modified >= 0)
        image.setText(QStringLiteral("Thumb::MTime"), QString::number(modified));
    QVERIFY(image.save(file, "png"));
}

bool isMostly(const QImage& image, QColor color)
{
    const QColor middle = image.pixelColor(image.width() / 2, image.height() / 2);
    return std::abs(middle.red() - color.red()) < 40 && std::abs(middle.green() - color.green()) < 40
        && std::abs(middle.blue() - color.blue()) < 40;
}

} // namespace

class ThumbnailsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }

    void urisAreEscapedAsEveryThumbnailerHashesThem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("escaped");
        QTest::addRow("space") << QStringLiteral("Screenshot 2026.png") << QByteArray("Screenshot%202026.png");
        QTest::addRow("hash and percent") << QStringLiteral("a#b%c.png") << QByteArray("a%23b%25c.png");
        QTest::addRow("accented") << QStringLiteral("caf\u00e9.png") << QByteArray("caf%C3%A9.png");
        QTest::addRow("kept punctuation") << QStringLiteral("a(1)+b=c's.png") << QByteArray("a(1)+b=c's.png");
        QTest::addRow("question mark") << QStringLiteral("what?.png") << QByteArray("what%3F.png");
    }
    void urisAreEscapedAsEveryThumbnailerHashesThem()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, escaped);
        const QString file = QStringLiteral("/tmp/odd/") + name;
        const QByteArray uri = "file:///tmp/odd/" + escaped;
        QCOMPARE(ThumbnailCache::uriOf(file), uri);
        QCOMPARE(ThumbnailCache::fileNameOf(file),
            QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex()) + QStringLiteral(".png"));
    }

    void cachedThumbnailsCountOnlyForTheFileAsItIsNow_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("uriSeen"); // "own", "other" or "none"
        QTest::addColumn<int>("modifiedOffset"); // -1000: no time recorded
        QTest::addColumn<bool>("found");
        QTest::addRow("current, normal size") << "normal" << "own" << 0 << true;
        QTest::addRow("current, large size") << "large" << "own" << 0 << true;
        QTest::addRow("file changed since") << "normal" << "own" << -60 << false;
        QTest::addRow("made for another file") << "normal" << "other" << 0 << false;
        QTest::addRow("without a URI") << "normal" << "none" << 0 << false;
        QTest::addRow("without a time") << "normal" << "own" << -1000 << false;
        QTest::addRow("in a folder of another kind") << "fail" << "own" << 0 << false;
    }
    void cachedThumbnailsCountOnlyForTheFileAsItIsNow()
    {
        QFETCH(QString, folder);
        QFETCH(QString, uriSeen);
        QFETCH(int, modifiedOffset);
        QFETCH(bool, found);
        // The cache's thumbnail is blue and the file red: the colour tells which was used.
        const QString picture = path(QStringLiteral("my shot #1.png"));
        writePicture(picture, Qt::red);
        const qint64 modified = modifiedSeconds(picture);
        const QByteArray uri = uriSeen == QLatin1String("own") ? ThumbnailCache::uriOf(picture)
            : uriSeen == QLatin1String("other")                ? ThumbnailCache::uriOf(path(QStringLiteral("other.png")))
                                                               : QByteArray();
        writeCached(cacheRoot() + QLatin1Char('/') + folder + QLatin1Char('/') + ThumbnailCache::fileNameOf(picture), uri,
            modifiedOffset == -1000 ? -1 : modified + modifiedOffset, Qt::blue);

        QVERIFY(isMostly(ThumbnailMaker(ThumbnailCache(cacheRoot())).thumbnail(picture), found ? Qt::blue : Qt::red));
        // One not taken is made again from the file, and replaces what the cache held.
        if (!found)
            QVERIFY(isMostly(QImage(cacheRoot() + QStringLiteral("/normal/") + ThumbnailCache::fileNameOf(picture)), Qt::red));
    }

    void storedThumbnailsCarryTheKeysPrivately()
    {
        const QString picture = path(QStringLiteral("caf\u00e9 shot.png"));
        writePicture(picture, Qt::green);
        QImage big(QSize(500, 250), QImage::Format_RGB32);
        big.fill(Qt::green);
        const ThumbnailCache cache(cacheRoot());
        QVERIFY(cache.store(picture, 1234567, 42, big));

        const QString stored = cacheRoot() + QStringLiteral("/normal/") + ThumbnailCache::fileNameOf(picture);
        const QImage read(stored, "png");
        QCOMPARE(read.text(QStringLiteral("Thumb::URI")).toUtf8(), ThumbnailCache::uriOf(picture));
        QCOMPARE(read.text(QStringLiteral("Thumb::MTime")), QStringLiteral("1234567"));
        QCOMPARE(read.text(QStringLiteral("Thumb::Size")), QStringLiteral("42"));
        QCOMPARE(read.size(), QSize(128, 64)); // the normal size's bound
        struct stat status {};
        QCOMPARE(::stat(QFile::encodeName(stored).constData(), &status), 0);
        QCOMPARE(status.st_mode & 0777, 0600u);
        QCOMPARE(::stat(QFile::encodeName(cacheRoot()).constData(), &status), 0);
        QCOMPARE(status.st_mode & 0777, 0700u);
        // Nothing half written is left beside it.
        QCOMPARE(QDir(cacheRoot() + QStringLiteral("/normal")).entryList(QDir::Files).size(), 1);
        QVERIFY(cache.find(picture, 1234567).has_value());
    }

    void thumbnailsAreMadeOfRealFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::addRow("small picture, not enlarged") << QStringLiteral("icon.png") << QSize(40, 30);
        QTest::addRow("video") << QStringLiteral("Recording 1.mp4") << QSize(128, 96);
        QTest::addRow("PDF, a portrait page") << QStringLiteral("letter.pdf") << QSize(91, 128);
        QTest::addRow("name with odd characters") << QStringLiteral("50% caf\u00e9 #2 (final)?.png") << QSize(128, 96);
    }
    void thumbnailsAreMadeOfRealFiles()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        const QString file = path(name);
        if (name.endsWith(QLatin1String(".mp4")))
            writeVideo(file);
        else if (name.endsWith(QLatin1String(".pdf")))
            writePdf(file, 1);
        else
            writePicture(file, Qt::red, size == QSize(40, 30) ? size : QSize(400, 300));
        if (QTest::currentTestFailed())
            return;

        const QImage thumbnail = ThumbnailMaker(ThumbnailCache(cacheRoot())).thumbnail(file);
        QVERIFY(!thumbnail.isNull());
        QVERIFY2(qAbs(thumbnail.width() - size.width()) <= 1 && qAbs(thumbnail.height() - size.height()) <= 1,
            qPrintable(QStringLiteral("%1x%2").arg(thumbnail.width()).arg(thumbnail.height())));
        QVERIFY(isMostly(thumbnail, Qt::red));
        // Left in the cache for the file manager, and found there next time.
        QVERIFY(ThumbnailCache(cacheRoot()).find(file, modifiedSeconds(file)).has_value());
    }

    void filesThatCannotBeReadHaveNone_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // "fifo": a named pipe
        const QByteArray garbage = QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(300, '\x5a');
        QTest::addRow("damaged picture") << QStringLiteral("broken.png") << garbage;
        QTest::addRow("damaged video") << QStringLiteral("broken.mp4") << QByteArray("\0\0\0\x18" "ftypmp42", 12) + QByteArray(500, '\x01');
        QTest::addRow("damaged PDF") << QStringLiteral("broken.pdf") << QByteArray("%PDF-1.4\n1 0 obj << /Type /Catalog");
        QTest::addRow("named pipe") << QStringLiteral("pipe.png") << QByteArray("fifo");
        QTest::addRow("not a picture") << QStringLiteral("notes.txt") << QByteArray("hello");
    }
    void filesThatCannotBeReadHaveNone()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        const QString file = path(name);
        if (bytes == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        else
            writeFile(file, bytes);
        // A pipe would block a reader that opened it: this returns at once or never.
        QVERIFY(ThumbnailMaker(ThumbnailCache(cacheRoot())).thumbnail(file).isNull());
        QVERIFY(!QDir(cacheRoot() + QStringLiteral("/normal")).exists()
            || QDir(cacheRoot() + QStringLiteral("/normal")).isEmpty());
    }

    void theListGetsThemLaterAndKeepsThem()
    {
        const QString picture = path(QStringLiteral("shot.png"));
        const QString text = path(QStringLiteral("notes.txt"));
        writePicture(picture, Qt::red);
        writeFile(text, "hello");
        Thumbnails thumbnails(ThumbnailCache(cacheRoot()), 64);
        QSignalSpy ready(&thumbnails, &Thumbnails::ready);

        QVERIFY(thumbnails.thumbnail(picture).isNull()); // not yet: the row shows its symbol
        QVERIFY(thumbnails.thumbnail(text).isNull());
        QTRY_COMPARE(ready.size(), 2);
        const QPixmap shown = thumbnails.thumbnail(picture);
        QCOMPARE(shown.size(), QSize(64, 48));
        QVERIFY(isMostly(shown.toImage(), Qt::red));
        QVERIFY(thumbnails.thumbnail(text).isNull());

        // Known now: asking again starts no work, even after the file is gone.
        QFile::remove(picture);
        QCOMPARE(thumbnails.thumbnail(picture).size(), QSize(64, 48));
        QCOMPARE(ready.size(), 2);
        // A file that changed is looked at again.
        thumbnails.forget(picture);
        QVERIFY(thumbnails.thumbnail(picture).isNull());
        QTRY_COMPARE(ready.size(), 3);
        QVERIFY(thumbnails.thumbnail(picture).isNull());

        // A picture that could not be read (here: not yet there) is tried again
        // when asked to; a file that is no picture is not.
        writePicture(picture, Qt::red);
        QVERIFY(thumbnails.thumbnail(picture).isNull());
        thumbnails.retryFailed();
        QVERIFY(thumbnails.thumbnail(picture).isNull());
        QVERIFY(thumbnails.thumbnail(text).isNull());
        QTRY_COMPARE(ready.size(), 4);
        QVERIFY(isMostly(thumbnails.thumbnail(picture).toImage(), Qt::red));
    }

private:
    QString path(const QString& name) const { return dir_->filePath(name); }
    QString cacheRoot() const { return dir_->filePath(QStringLiteral("cache/thumbnails")); }

    std::unique_ptr<QTemporaryDir> dir_;
};

QTEST_MAIN(ThumbnailsTest)
#include "tst_thumbnails.moc"
