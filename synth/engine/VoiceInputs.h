// The settings and program fields a voice's home point, ranges and speed
// read besides its envelopes, shared by the eight voices, and a generation
// number that moves on whenever one of them changes bits. A voice that
// computed its sound state under the current generation knows that those
// inputs still hold, without comparing them itself.
// Audio thread only.
#pragma once

#include "Patch.h"
#include "SynthSettings.h"

#include <cstdint>

class VoiceInputs {
public:
    // Takes this sample's values (once per sample, before the voices).
    void refresh(const SynthSettings& s, const Patch& p);
    // Never 0, so a voice can hold 0 for "nothing computed yet".
    uint32_t generation() const { return current; }

private:
    struct Fields {
        float panHome, resonanceHome, noiseHome;
        float volumeRange, pitchRange, panRange, resonanceRange, noiseRange;
        float pitchBend, speedScale;
        int32_t fineTune, coarseTune;
    };
    Fields last{};
    uint32_t current = 1;
};
