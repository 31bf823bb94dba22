#include "Patch.h"

#include "Random.h"

#include <cstring>
#include <ctime>

void resetEnvelope(PatchEnvelope& e, bool isHome, bool isVolume)
{
    e.pointCount = 2;
    e.pointTime[0] = 0.0f;
    e.pointTime[1] = 1.0f;
    if (isVolume) {
        // The initial and release levels of the volume envelope stay as
        // they are (0 in new patches): notes start and end in silence.
        e.pointLevel[1] = 1.0f;
        e.sustainLevel = 0.5f;
    } else {
        const float level = isHome ? 0.5f : 1.0f;
        e.pointLevel[0] = level;
        e.pointLevel[1] = level;
        e.sustainLevel = level;
        e.releaseLevel = level;
    }
    e.attackTime = 0.1f;
    e.decayTime = 0.5f;
    e.releaseTime = 0.2f;
    e.range = 0;
}

void validateAxisOrder(Patch& patch)
{
    bool seen[kAxisCount] = {};
    bool valid = true;
    for (int i = 0; i < kAxisCount && valid; ++i) {
        int32_t axis = patch.axisOrder[i];
        if (axis < 0 || axis >= kAxisCount || seen[axis])
            valid = false;
        else
            seen[axis] = true;
    }
    if (!valid) {
        static const int32_t defaults[kAxisCount] = {2, 1, 0, 3, 4};
        std::memcpy(patch.axisOrder, defaults, sizeof defaults);
    }
}

void setMidiMapDefaults(Patch& patch)
{
    for (int32_t& entry : patch.midiMap)
        entry = -1;
    static const struct {
        int controller, parameter;
    } defaults[] = {{1, 5},   {5, 20},  {7, 0},   {10, 1},  {11, 2},  {12, 3},  {13, 4},
                    {14, 6},  {15, 7},  {16, 8},  {17, 9},  {18, 10}, {19, 11}, {20, 12},
                    {21, 13}, {22, 14}, {23, 15}, {24, 16}, {25, 17}, {26, 18}};
    for (const auto& d : defaults)
        patch.midiMap[d.controller] = d.parameter;
}

void newPatch(Patch& patch)
{
    std::memset(&patch, 0, sizeof patch);
    std::strcpy(patch.name, "new patch");
    patch.volumeHome = 100;
    patch.resonanceHome = 10;
    patch.noiseHome = 10;
    patch.lowpassCutoff = 100;
    patch.speed = 50;
    patch.stdDev = 50;
    patch.reflection = 50;
    patch.attract = 50;
    patch.repel = 50;
    patch.proximity = 50;
    patch.oscillatorCount = 8;
    patch.redistributionTime = 400;
    patch.portamentoTime = 20;
    patch.smoothingHalfLife = 5;
    patch.polyphonic = 1;
    patch.phaseCorrelation = 1;
    patch.trailLength = 4;
    patch.trailWidth = 4;
    patch.animateHyperspace = 1;
    patch.animateKeyboard = 1;
    patch.pitchBendRange = 2;
    patch.filterDepth = 1;
    patch.localBpm = 120;
    patch.syncToHost = 1;
    patch.lfoSine = 1;
    patch.lfoMeasure = 4;
    patch.qwertyControl = 1;
    validateAxisOrder(patch); // all zeros: becomes 2, 1, 0, 3, 4

    seedRandom(static_cast<uint32_t>(std::time(nullptr)));
    patch.seed = static_cast<int32_t>(nextRandom() % 134217727);

    setMidiMapDefaults(patch);

    resetEnvelope(patch.envelopes[kVolumeEnv], false, true);
    for (int d = kPitchEnv; d <= kNoiseEnv; ++d)
        resetEnvelope(patch.envelopes[d], true, false);
    for (int d = kVolumeRangeEnv; d <= kSpeedEnv; ++d)
        resetEnvelope(patch.envelopes[d], false, false);
}
