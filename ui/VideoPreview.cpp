#include "ui/VideoPreview.h"

#include "ui/Symbols.h"

#include <QAudioOutput>
#include <QHBoxLayout>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QAudioDevice>
#include <QSlider>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QVideoWidget>

namespace {

// Qt 6.4 reaches for GStreamer first, and its GStreamer player crashes when
// the distribution's base plugins are missing: Debian's Qt Multimedia does not
// pull them in. The FFmpeg backend ships in the same package and needs nothing
// more, so that is the one we ask for, unless the user has chosen one.
QMediaPlayer* makePlayer(QObject* parent)
{
    if (qEnvironmentVariableIsSet("QT_MEDIA_BACKEND"))
        return new QMediaPlayer(parent);
    // Qt reads the choice once, with the first multimedia object; the programs
    // we open files with later must not inherit it.
    qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    auto* player = new QMediaPlayer(parent);
    qunsetenv("QT_MEDIA_BACKEND");
    return player;
}

} // namespace

VideoPreview::VideoPreview(QWidget* parent)
    : QWidget(parent)
    , player_(makePlayer(this))
    , video_(new QVideoWidget(this))
    , playPause_(new QToolButton(this))
    , position_(new QSlider(Qt::Horizontal, this))
{
    // Without a sound device Qt's player crashes on its first sound: such a
    // preview plays silently.
    if (!QMediaDevices::defaultAudioOutput().isNull())
        player_->setAudioOutput(new QAudioOutput(player_)); // the player owns its output
    player_->setVideoOutput(video_);

    // The preview window keeps the keyboard for moving between files and closing.
    video_->setFocusPolicy(Qt::NoFocus);
    playPause_->setFocusPolicy(Qt::NoFocus);
    playPause_->setIconSize(QSize(18, 18));
    position_->setFocusPolicy(Qt::NoFocus);

    auto* controlBar = new QWidget(this);
    auto* controls = new QHBoxLayout(controlBar);
    controls->setContentsMargins(0, 8, 0, 0);
    controls->addWidget(playPause_);
    controls->addWidget(position_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(video_, 1);
    layout->addWidget(controlBar);

    connect(playPause_, &QToolButton::clicked, this, [this] {
        if (player_->playbackState() == QMediaPlayer::PlayingState)
            player_->pause();
        else
            player_->play();
    });
    connect(player_, &QMediaPlayer::playbackStateChanged, this, &VideoPreview::refreshButton);
    connect(player_, &QMediaPlayer::durationChanged, position_, [this](qint64 ms) { position_->setMaximum(static_cast<int>(ms)); });
    connect(player_, &QMediaPlayer::positionChanged, position_, [this](qint64 ms) {
        if (!position_->isSliderDown())
            position_->setValue(static_cast<int>(ms));
    });
    connect(position_, &QSlider::sliderMoved, player_, [this](int ms) { player_->setPosition(ms); });
    connect(player_, &QMediaPlayer::errorOccurred, this, [this] {
        if (!player_->source().isEmpty())
            Q_EMIT unplayable(player_->source().toLocalFile());
    });
    refreshButton();
}

VideoPreview::~VideoPreview() = default;

void VideoPreview::play(const QString& path)
{
    position_->setRange(0, 0);
    player_->setSource(QUrl::fromLocalFile(path));
    player_->play();
}

void VideoPreview::stop()
{
    player_->stop();
    player_->setSource(QUrl());
}

void VideoPreview::setIconColor(const QColor& color)
{
    iconColor_ = color;
    refreshButton();
}

void VideoPreview::refreshButton()
{
    const bool playing = player_->playbackState() == QMediaPlayer::PlayingState;
    playPause_->setIcon(Symbols::icon(playing ? QStringLiteral("pause") : QStringLiteral("play"), iconColor_));
    playPause_->setToolTip(playing ? tr("Pause") : tr("Play"));
}
