#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <optional>

class QFileInfo;
class QLabel;
class QMimeType;

// What a file holds, as far as the preview is concerned.
namespace PreviewContent {

// Told by the name alone: a video is handed to the player, which tells whether it can play it.
bool isVideo(const QFileInfo& file);
// A null image when the file is not a picture Qt can read.
QImage readImage(const QString& path);
// At most the first 256 KiB of a text file, or the whole of a small file that
// turns out to be UTF-8 text (a README without an extension, a log, a
// configuration file); nothing for anything else.
std::optional<QString> readText(const QString& path, const QMimeType& type);

} // namespace PreviewContent

// A picture fitted into the space it has: made smaller when it must be, never
// larger than one image pixel per device pixel, so it stays sharp.
class ImageView final : public QWidget {
    Q_OBJECT
public:
    explicit ImageView(QWidget* parent = nullptr);

    void setImage(QImage image);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
    QPixmap fitted_; // image_ at the size it was last drawn, in device pixels
};

// What can be said about a file that cannot be shown: a large symbol of its
// kind, its name, type, size and when it last changed.
class FileFactsView final : public QWidget {
    Q_OBJECT
public:
    explicit FileFactsView(QWidget* parent = nullptr);

    // `note` says why the file's contents are not shown; none when it is empty.
    void setFile(const QFileInfo& file, const QMimeType& type, const QString& note = QString());
    void setSymbolColor(const QColor& color);

private:
    void refreshSymbol();

    QString symbolName_;
    QColor symbolColor_;
    QLabel* symbol_;
    QLabel* name_;
    QLabel* kindAndSize_;
    QLabel* modified_;
    QLabel* note_;
};
