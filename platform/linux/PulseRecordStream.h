#pragma once

#include "platform/SoundSource.h"
#include "platform/linux/PulseConnection.h"

// One device of the sound server, recorded in fragments of 20 ms. Each is
// stamped on arrival, on the clock of the pictures, minus the sound still
// waiting to be read: that is when it was heard (a monitor hands over what
// the output plays) or picked up, give or take a fragment. The latencies the
// server reports are not used: for a monitor they were off by up to a third
// of a second here, changing as its timing updates came in.
class PulseRecordStream final : public SoundSource {
public:
    static Status open(std::unique_ptr<PulseConnection> connection, const QByteArray& device, SoundFormat format,
        std::unique_ptr<SoundSource>& source);
    ~PulseRecordStream() override;
    PulseRecordStream(const PulseRecordStream&) = delete;
    PulseRecordStream& operator=(const PulseRecordStream&) = delete;

    SoundFormat format() const override { return format_; }
    void start(std::function<void(SoundChunk&&)> deliver) override;

private:
    PulseRecordStream(std::unique_ptr<PulseConnection> connection, SoundFormat format);
    Status connect(const QByteArray& device);
    void readAll();

    std::unique_ptr<PulseConnection> connection_;
    SoundFormat format_;
    PulseStream stream_;
    std::function<void(SoundChunk&&)> deliver_;
};
