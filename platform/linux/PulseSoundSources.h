#pragma once

#include "platform/SoundSource.h"

// Sound devices of the PulseAudio server (PipeWire serves its protocol too):
// the default output's monitor, and the default input when it is a real one.
class PulseSoundSources final : public SoundSources {
public:
    Status open(SoundDevice device, SoundFormat format, std::unique_ptr<SoundSource>& source) override;
    Status find(SoundDevice device) override;
};
