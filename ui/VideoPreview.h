#pragma once

#include <QColor>
#include <QWidget>

class QMediaPlayer;
class QSlider;
class QToolButton;
class QVideoWidget;

// Plays the video being previewed, with a play/pause button and a position
// bar. The preview window makes it only when the first video comes up, so
// the multimedia backend is loaded by those who watch one and no one else.
class VideoPreview final : public QWidget {
    Q_OBJECT
public:
    explicit VideoPreview(QWidget* parent = nullptr);
    ~VideoPreview() override;

    void play(const QString& path);
    // Stops and lets go of the file, which may be moved or expired meanwhile.
    void stop();
    void setIconColor(const QColor& color);

Q_SIGNALS:
    // `path` could not be played: no decoder for it, or not a video at all.
    void unplayable(const QString& path);

private:
    void refreshButton();

    QColor iconColor_;
    QMediaPlayer* player_;
    QVideoWidget* video_;
    QToolButton* playPause_;
    QSlider* position_;
};
