// Compile-time building blocks for the factory bank: a program record with
// the new-patch defaults (but a fixed seed instead of the clock's), and
// envelope shapes written as their attack points and times. Everything is
// constexpr, so the bank's records are plain constant data built by the
// compiler from readable source.
#pragma once

#include "Patch.h"

#include <cstdint>
#include <initializer_list>

namespace presetbuilder {

// One attack point: position as a fraction of the attack time (0..1) and
// level (0..1; for the bipolar home envelopes 0.5 is no offset).
struct EnvelopePoint {
    float time;
    float level;
};

// An envelope shape, built up by chained calls:
//   shape({{0, 0}, {0.2f, 1}, {1, 0.6f}}).sustain(0.4f).times(0.3f, 1.0f, 0.5f)
// Unset values are those of a new patch's range shape: release level 0,
// times 0.1 / 0.5 / 0.2 s, range 0.
class EnvelopeShape {
public:
    // 2 to 10 points; more are ignored, fewer leave the missing ones at 0.
    constexpr EnvelopeShape(std::initializer_list<EnvelopePoint> points) : e()
    {
        int32_t n = 0;
        for (const EnvelopePoint& point : points) {
            if (n == 10)
                break;
            e.pointTime[n] = point.time;
            e.pointLevel[n] = point.level;
            ++n;
        }
        e.pointCount = n < 2 ? 2 : n;
        e.sustainLevel = e.pointLevel[e.pointCount - 1];
        e.attackTime = 0.1f;
        e.decayTime = 0.5f;
        e.releaseTime = 0.2f;
    }
    // Level the decay approaches and that holds until note-off, 0..1.
    constexpr EnvelopeShape sustain(float level) const
    {
        EnvelopeShape s = *this;
        s.e.sustainLevel = level;
        return s;
    }
    // Level the release ends at, 0..1.
    constexpr EnvelopeShape releaseTo(float level) const
    {
        EnvelopeShape s = *this;
        s.e.releaseLevel = level;
        return s;
    }
    // Attack time, decay half-life and release time, seconds.
    constexpr EnvelopeShape times(float attack, float decay, float release) const
    {
        EnvelopeShape s = *this;
        s.e.attackTime = attack;
        s.e.decayTime = decay;
        s.e.releaseTime = release;
        return s;
    }
    // Swing of a home envelope: semitones (pitch) or percent either side.
    constexpr EnvelopeShape range(int32_t amount) const
    {
        EnvelopeShape s = *this;
        s.e.range = amount;
        return s;
    }
    constexpr operator PatchEnvelope() const { return e; }

private:
    PatchEnvelope e;
};

constexpr EnvelopeShape shape(std::initializer_list<EnvelopePoint> points)
{
    return EnvelopeShape(points);
}

// A level that holds from note-on to the end of the release.
constexpr EnvelopeShape steady(float level)
{
    return EnvelopeShape({{0.0f, level}, {1.0f, level}}).releaseTo(level);
}

// The controller map of a new patch, as controller/parameter pairs.
struct MapEntry {
    int32_t controller, parameter;
};
constexpr MapEntry kDefaultMap[] = {{1, 5},   {5, 20},  {7, 0},   {10, 1},  {11, 2},
                                    {12, 3},  {13, 4},  {14, 6},  {15, 7},  {16, 8},
                                    {17, 9},  {18, 10}, {19, 11}, {20, 12}, {21, 13},
                                    {22, 14}, {23, 15}, {24, 16}, {25, 17}, {26, 18}};

// A record named `name` (at most 23 characters) holding the new-patch values,
// the default controller map, deterministic reseeding from `seed` and the
// default envelope shapes. Presets then set what makes their sound.
constexpr Patch basePatch(const char* name, int32_t seed)
{
    Patch p{};
    for (int i = 0; i < kPatchNameSize - 1 && name[i] != 0; ++i)
        p.name[i] = name[i];
    p.volumeHome = 100;
    p.resonanceHome = 10;
    p.noiseHome = 10;
    p.lowpassCutoff = 100;
    p.speed = 50;
    p.stdDev = 50;
    p.reflection = 50;
    p.attract = 50;
    p.repel = 50;
    p.proximity = 50;
    p.oscillatorCount = 8;
    p.redistributionTime = 400;
    p.portamentoTime = 20;
    p.smoothingHalfLife = 5;
    p.polyphonic = 1;
    p.phaseCorrelation = 1;
    p.axisOrder[0] = 2;
    p.axisOrder[1] = 1;
    p.axisOrder[2] = 0;
    p.axisOrder[3] = 3;
    p.axisOrder[4] = 4;
    p.trailLength = 4;
    p.trailWidth = 4;
    p.animateHyperspace = 1;
    p.animateKeyboard = 1;
    p.reseedMode = 2;
    p.seed = seed;
    for (int32_t& entry : p.midiMap)
        entry = -1;
    for (const MapEntry& m : kDefaultMap)
        p.midiMap[m.controller] = m.parameter;
    p.pitchBendRange = 2;
    p.filterDepth = 1;
    p.localBpm = 120;
    p.syncToHost = 1;
    p.lfoSine = 1;
    p.lfoMeasure = 4;
    p.qwertyControl = 1;
    p.envelopes[kVolumeEnv] = shape({{0.0f, 0.0f}, {1.0f, 1.0f}}).sustain(0.5f);
    for (int d = kPitchEnv; d <= kNoiseEnv; ++d)
        p.envelopes[d] = steady(0.5f);
    for (int d = kVolumeRangeEnv; d <= kSpeedEnv; ++d)
        p.envelopes[d] = steady(1.0f);
    return p;
}

} // namespace presetbuilder
