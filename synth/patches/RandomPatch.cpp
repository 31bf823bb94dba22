#include "RandomPatch.h"

#include "Random.h"

#include <cstdio>

namespace {
int32_t r()
{
    return nextRandom();
}

// Product of two successive draws, each taken modulo `m` (the left factor
// is drawn first).
int32_t squareDraw(int32_t m)
{
    const int32_t a = r() % m;
    const int32_t b = r() % m;
    return a * b;
}

uint8_t oddDraw()
{
    return static_cast<uint8_t>(r() & 1);
}

const double kLevelStep = 0.00024420026f; // 1 / 4095
const double kTwoStep = 0.0004884005f;    // 2 / 4095: times in seconds, view angles

// A level 0..1 from twelve bits of one draw.
float levelDraw()
{
    return static_cast<float>((r() & 4095) * kLevelStep);
}

// A time of 0 to 2 seconds scaled by a level; the level is drawn first. The
// whole product is formed before the one conversion to float: rounding the
// level to float on the way would change the last bit of about a quarter of
// all times.
float timeDraw()
{
    const double level = (r() & 4095) * kLevelStep;
    return static_cast<float>(level * (r() & 4095) * kTwoStep);
}

// A view angle of -0.34 to +0.34 radians.
float angleDraw()
{
    return static_cast<float>((r() & 4095) * static_cast<double>(0.34f) * kTwoStep -
                              static_cast<double>(0.34f));
}
} // namespace

void randomiseEnvelope(PatchEnvelope& e, bool isVolume, int32_t maxRange)
{
    const int32_t first = r() % 3;
    const int32_t n = first * (r() % 2) + 2;
    e.pointCount = n;
    for (int32_t i = 0; i < n; ++i) {
        e.pointTime[i] = static_cast<float>(i) / static_cast<float>(n - 1);
        e.pointLevel[i] = levelDraw();
    }
    e.sustainLevel = levelDraw();
    e.releaseLevel = levelDraw();
    e.attackTime = timeDraw();
    e.decayTime = timeDraw();
    e.releaseTime = timeDraw();
    if (isVolume) {
        e.pointLevel[0] = 0.0f;
        e.releaseLevel = 0.0f;
    }
    const int32_t range = r() % (maxRange + 1);
    e.range = range * (r() % 2);
}

void fillRandomPatch(Patch& patch)
{
    fillRandomPatchFromDraw(patch, r());
}

void fillRandomPatchFromDraw(Patch& p, int32_t r0)
{
    seedRandom(static_cast<uint32_t>(r0));
    std::snprintf(p.name, sizeof p.name, "random patch #%X", static_cast<unsigned>(r0));

    p.coarseTune = (r() % 5 - 2) * 12;
    p.panHome = r() % 201 - 100;
    p.resonanceHome = squareDraw(11);
    p.noiseHome = squareDraw(11);

    p.volumeRange = r() % 101;
    p.pitchRange = squareDraw(11);
    p.panRange = r() % 101;
    p.resonanceRange = r() % 101;
    p.noiseRange = r() % 101;

    p.lowpassCutoff = r() % 50 + 50;
    p.filterQ = squareDraw(10);
    p.filterDepth = r() % 3;
    p.overdrive = squareDraw(11);

    p.speed = r() % 101;
    p.stdDev = squareDraw(11);
    p.reflection = r() % 80 + 10;
    p.attract = r() % 100;
    p.repel = r() % (p.attract + 1);
    p.proximity = squareDraw(11);

    randomiseEnvelope(p.envelopes[kVolumeEnv], true, 1);
    randomiseEnvelope(p.envelopes[kPitchEnv], false, 24);
    randomiseEnvelope(p.envelopes[kPanEnv], false, 100);
    randomiseEnvelope(p.envelopes[kResonanceEnv], false, 50);
    randomiseEnvelope(p.envelopes[kNoiseEnv], false, 50);
    for (int d = kVolumeRangeEnv; d <= kSpeedEnv; ++d)
        randomiseEnvelope(p.envelopes[d], false, 1);

    p.oscillatorCount = r() % 16 + 1;
    const int32_t redistribution = r() % 100;
    p.redistributionTime = (redistribution * r()) % 10 + 1;
    const int32_t portamento = r() % 100;
    p.portamentoTime = (portamento * r()) % 10 + 1;

    p.polyphonic = oddDraw();
    p.phaseCorrelation = oddDraw();

    for (int32_t i = 0; i < kAxisCount; ++i)
        p.axisOrder[i] = i;
    for (int swap = 0; swap < 10; ++swap) {
        const int32_t a = r() % 5;
        const int32_t b = r() % 5;
        const int32_t t = p.axisOrder[a];
        p.axisOrder[a] = p.axisOrder[b];
        p.axisOrder[b] = t;
    }

    p.trailLength = squareDraw(5) + 1;
    p.trailWidth = r() % 10 + 1;
    p.showPins = oddDraw();
    p.wheelMapping = r() % 3;

    p.viewRotation[0] = angleDraw();
    p.viewRotation[1] = angleDraw();

    p.reseedMode = r() % 3;
    p.seed = r() % 134217727;
    p.seedOnPitch = oddDraw();
    p.seedOnVolume = oddDraw();

    p.lfoDepth = r() % 100;
    p.lfoMeasure = r() % 9;
    p.lfoSine = static_cast<uint8_t>((r() & 1) == 0);
}
