#include "platform/qt/DesktopClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QUrl>

void DesktopClipboard::copyFiles(const QStringList& paths, bool alsoAsPicture)
{
    QList<QUrl> urls;
    QByteArray gnomeFiles("copy");
    for (const QString& path : paths) {
        const QUrl url = QUrl::fromLocalFile(path);
        urls.append(url);
        gnomeFiles += '\n' + url.toEncoded();
    }
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls); // text/uri-list, and the paths as plain text
    // GNOME's Files and the file managers that follow it paste only this format.
    data->setData(QStringLiteral("x-special/gnome-copied-files"), gnomeFiles);
    if (alsoAsPicture && paths.size() == 1) {
        const QImage picture(paths.front());
        if (!picture.isNull())
            data->setImageData(picture);
    }
    QGuiApplication::clipboard()->setMimeData(data.release()); // the clipboard takes ownership
}
