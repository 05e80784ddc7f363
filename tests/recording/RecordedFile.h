#pragma once

// What a recording holds, read back with libavformat and libavcodec the way
// a player would.

#include <QString>

#include <optional>
#include <vector>

struct RecordedFile {
    struct Picture {
        double atSeconds = 0;
        double brightness = 0; // mean luma, 0 to 255
        bool key = false;
    };

    // The error, or "" when read whole.
    static QString read(const QString& path, RecordedFile& file);

    double durationSeconds = 0;
    bool indexFirst = false; // the moov box comes before the mdat box

    QString videoCodec; // "h264"
    int videoProfile = -1; // FF_PROFILE_H264_HIGH for High
    int width = 0;
    int height = 0;
    int videoDelay = 0; // pictures held back for reordering: B-frames
    qint64 videoBitRate = 0; // as measured over the file
    std::vector<Picture> pictures;

    bool hasSound = false;
    QString soundCodec;
    int sampleRate = 0;
    int channels = 0;
    double soundStartSeconds = 0;
    std::vector<float> sound; // the first channel

    std::vector<int> keyFrameIndices() const;
    double soundLevel() const; // root mean square
    // Time of the first sample louder than `level` after at least 100 ms of quiet.
    std::optional<double> firstSoundAbove(float level) const;
    // The first picture brighter than `level`.
    std::optional<size_t> firstPictureAbove(double level) const;
};
