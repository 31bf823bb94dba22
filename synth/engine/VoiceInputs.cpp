#include "VoiceInputs.h"

#include <cstring>

void VoiceInputs::refresh(const SynthSettings& s, const Patch& p)
{
    const Fields now{s.panHome,    s.resonanceHome, s.noiseHome,      s.volumeRange,
                     s.pitchRange, s.panRange,      s.resonanceRange, s.noiseRange,
                     s.pitchBend,  s.speedScale,    p.fineTune,       p.coarseTune};
    if (std::memcmp(&now, &last, sizeof now) == 0)
        return;
    last = now;
    current = current == UINT32_MAX ? 1 : current + 1;
}
