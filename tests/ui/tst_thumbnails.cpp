// Thumbnails of real files: the desktop's thumbnail cache and its rules, and
// thumbnails made from real pictures, videos and PDFs off the GUI thread.
#include "tests/support/SampleFiles.h"
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
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <sys/stat.h>

namespace {

qint64 modifiedSeconds(const QString& path) { return QFileInfo(path).lastModified().toSecsSinceEpoch(); }

void writePicture(const QString& path, QSize size = QSize(400, 300)) { writeFile(path, png(size)); }

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
        // Left by another thumbnailer under the name each of them hashes: the
        // file's URI, escaped as GLib escapes it. The cache's thumbnail is blue
        // and the file red: the colour tells which was used.
        const QString picture = path(QStringLiteral("my shot #1 50%? caf\u00e9 (2)+b=c's.png"));
        writePicture(picture);
        const QByteArray ownUri
            = QUrl::fromLocalFile(dir_->path()).toEncoded() + "/my%20shot%20%231%2050%25%3F%20caf%C3%A9%20(2)+b=c's.png";
        const QString cached = QString::fromLatin1(QCryptographicHash::hash(ownUri, QCryptographicHash::Md5).toHex()) + QStringLiteral(".png");
        QImage thumbnail(QSize(64, 48), QImage::Format_RGB32);
        thumbnail.fill(Qt::blue);
        if (uriSeen != QLatin1String("none"))
            thumbnail.setText(QStringLiteral("Thumb::URI"),
                QString::fromUtf8(uriSeen == QLatin1String("own") ? ownUri : ThumbnailCache::uriOf(path(QStringLiteral("other.png")))));
        if (modifiedOffset != -1000)
            thumbnail.setText(QStringLiteral("Thumb::MTime"), QString::number(modifiedSeconds(picture) + modifiedOffset));
        QVERIFY(QDir().mkpath(cacheRoot() + QLatin1Char('/') + folder));
        QVERIFY(thumbnail.save(cacheRoot() + QLatin1Char('/') + folder + QLatin1Char('/') + cached, "png"));

        QVERIFY(isMostly(ThumbnailMaker(ThumbnailCache(cacheRoot())).thumbnail(picture), found ? Qt::blue : Qt::red));
        // One not taken is made again from the file, and replaces what the cache held.
        if (!found)
            QVERIFY(isMostly(QImage(cacheRoot() + QStringLiteral("/normal/") + cached), Qt::red));
    }

    void storedThumbnailsCarryTheKeysPrivately()
    {
        const QString picture = path(QStringLiteral("caf\u00e9 shot.png"));
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
            QVERIFY2(writeVideo(file), "ffmpeg makes the test video (scripts/install-deps test)");
        else if (name.endsWith(QLatin1String(".pdf")))
            writeFile(file, pdf(1));
        else
            writePicture(file, size == QSize(40, 30) ? size : QSize(400, 300));

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
        writePicture(picture);
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
        writePicture(picture);
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
