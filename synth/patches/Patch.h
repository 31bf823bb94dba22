// The program record: everything that describes a sound and every option of
// the instrument, in one fixed 1908-byte little-endian layout. The same bytes
// live in memory, in the host's chunk, in the factory bank and in export
// files, so the layout below is a file format: never reorder or resize.
//
// A record from outside (chunk, file, factory data) is taken as it is; code
// that reads a field with a limited range (counts, indices, map entries)
// guards at the point of use instead of altering the stored bytes.
#pragma once

#include <cstddef>
#include <cstdint>

// One envelope's shape: up to ten attack points, then decay towards the
// sustain level and, after note-off, release towards the release level.
struct PatchEnvelope {
    int32_t pointCount;   // attack points in use, 2..10
    float pointTime[10];  // fraction of the attack time, point 0 at 0, last at 1
    float pointLevel[10]; // 0..1; point 0 initial level, last the attack level
    float sustainLevel;   // 0..1, approached by the decay, held until note-off
    float releaseLevel;   // 0..1, reached at the end of the release
    float attackTime;     // seconds
    float decayTime;      // seconds
    float releaseTime;    // seconds
    int32_t range;        // home envelopes 1..4 only: semitones (pitch) or percent
};

enum PatchEnvelopeIndex {
    kVolumeEnv = 0,
    kPitchEnv,
    kPanEnv,
    kResonanceEnv,
    kNoiseEnv,
    kVolumeRangeEnv,
    kPitchRangeEnv,
    kPanRangeEnv,
    kResonanceRangeEnv,
    kNoiseRangeEnv,
    kSpeedEnv,
    kEnvelopeCount // 11
};

enum { kMidiMapSize = 128, kPatchNameSize = 24, kAxisCount = 5 };

struct Patch {
    char name[kPatchNameSize]; // NUL-terminated, at most 23 characters
    int32_t volumeHome;        // percent 0..100
    int32_t coarseTune;        // semitones -24..24
    int32_t fineTune;          // -50..50
    int32_t panHome;           // -100..100
    int32_t resonanceHome;     // 0..100
    int32_t noiseHome;         // 0..100
    int32_t volumeRange;       // 0..100
    int32_t pitchRange;
    int32_t panRange;
    int32_t resonanceRange;
    int32_t noiseRange;
    int32_t filterQ;       // 0..100
    int32_t lowpassCutoff; // 0..100
    int32_t overdrive;     // 0..100
    int32_t speed;
    int32_t stdDev;
    int32_t reflection;
    int32_t attract;
    int32_t repel;
    int32_t proximity;
    PatchEnvelope envelopes[kEnvelopeCount]; // indexed by PatchEnvelopeIndex
    int32_t oscillatorCount;                 // 1..64
    int32_t redistributionTime;              // ms 1..4000
    int32_t portamentoTime;                  // ms 1..1000
    int32_t smoothingHalfLife;               // ms 1..500
    uint8_t polyphonic;                      // 1 poly, 0 mono
    uint8_t phaseCorrelation;                // 0/1
    uint8_t reserved1[2];
    int32_t axisOrder[kAxisCount]; // permutation of 0..4
    int32_t trailLength;           // 1..20
    int32_t trailWidth;            // 1..10
    uint8_t animateHyperspace;
    uint8_t showPins;
    uint8_t animateKeyboard;
    uint8_t reserved2;
    int32_t wheelMapping;  // 0 z position, 1 hue, 2 luminance
    float viewRotation[2]; // radians
    int32_t reseedMode;    // 0 none, 1 random, 2 deterministic
    int32_t seed;          // 0..134217727 (parameter 21 may store 134217728)
    uint8_t seedOnPitch;
    uint8_t seedOnVolume;
    uint8_t reserved3[2];
    int32_t midiMap[kMidiMapSize]; // parameter index 0..100 per controller, -1 none
    int32_t pitchBendRange;        // semitones 0..24
    int32_t filterDepth;           // 0 = 12 dB, 1 = 24 dB, 2 = 48 dB
    int32_t lfoDepth;              // 0..100
    int32_t localBpm;              // beats per minute
    uint8_t syncToHost;
    uint8_t lfoSine; // 1 sine, 0 square
    uint8_t reserved4[2];
    int32_t lfoMeasure; // 0..8
    uint8_t qwertyControl;
    uint8_t reserved5[3];
};

static_assert(sizeof(PatchEnvelope) == 108, "PatchEnvelope is 108 bytes");
static_assert(offsetof(PatchEnvelope, pointCount) == 0, "");
static_assert(offsetof(PatchEnvelope, pointTime) == 4, "");
static_assert(offsetof(PatchEnvelope, pointLevel) == 44, "");
static_assert(offsetof(PatchEnvelope, sustainLevel) == 84, "");
static_assert(offsetof(PatchEnvelope, releaseLevel) == 88, "");
static_assert(offsetof(PatchEnvelope, attackTime) == 92, "");
static_assert(offsetof(PatchEnvelope, decayTime) == 96, "");
static_assert(offsetof(PatchEnvelope, releaseTime) == 100, "");
static_assert(offsetof(PatchEnvelope, range) == 104, "");

static_assert(sizeof(Patch) == 1908, "Patch is 1908 bytes");
static_assert(offsetof(Patch, name) == 0, "");
static_assert(offsetof(Patch, volumeHome) == 24, "");
static_assert(offsetof(Patch, coarseTune) == 28, "");
static_assert(offsetof(Patch, fineTune) == 32, "");
static_assert(offsetof(Patch, panHome) == 36, "");
static_assert(offsetof(Patch, resonanceHome) == 40, "");
static_assert(offsetof(Patch, noiseHome) == 44, "");
static_assert(offsetof(Patch, volumeRange) == 48, "");
static_assert(offsetof(Patch, pitchRange) == 52, "");
static_assert(offsetof(Patch, panRange) == 56, "");
static_assert(offsetof(Patch, resonanceRange) == 60, "");
static_assert(offsetof(Patch, noiseRange) == 64, "");
static_assert(offsetof(Patch, filterQ) == 68, "");
static_assert(offsetof(Patch, lowpassCutoff) == 72, "");
static_assert(offsetof(Patch, overdrive) == 76, "");
static_assert(offsetof(Patch, speed) == 80, "");
static_assert(offsetof(Patch, stdDev) == 84, "");
static_assert(offsetof(Patch, reflection) == 88, "");
static_assert(offsetof(Patch, attract) == 92, "");
static_assert(offsetof(Patch, repel) == 96, "");
static_assert(offsetof(Patch, proximity) == 100, "");
static_assert(offsetof(Patch, envelopes) + kVolumeEnv * 108 == 104, "");
static_assert(offsetof(Patch, envelopes) + kPitchEnv * 108 == 212, "");
static_assert(offsetof(Patch, envelopes) + kPanEnv * 108 == 320, "");
static_assert(offsetof(Patch, envelopes) + kResonanceEnv * 108 == 428, "");
static_assert(offsetof(Patch, envelopes) + kNoiseEnv * 108 == 536, "");
static_assert(offsetof(Patch, envelopes) + kVolumeRangeEnv * 108 == 644, "");
static_assert(offsetof(Patch, envelopes) + kPitchRangeEnv * 108 == 752, "");
static_assert(offsetof(Patch, envelopes) + kPanRangeEnv * 108 == 860, "");
static_assert(offsetof(Patch, envelopes) + kResonanceRangeEnv * 108 == 968, "");
static_assert(offsetof(Patch, envelopes) + kNoiseRangeEnv * 108 == 1076, "");
static_assert(offsetof(Patch, envelopes) + kSpeedEnv * 108 == 1184, "");
static_assert(offsetof(Patch, oscillatorCount) == 1292, "");
static_assert(offsetof(Patch, redistributionTime) == 1296, "");
static_assert(offsetof(Patch, portamentoTime) == 1300, "");
static_assert(offsetof(Patch, smoothingHalfLife) == 1304, "");
static_assert(offsetof(Patch, polyphonic) == 1308, "");
static_assert(offsetof(Patch, phaseCorrelation) == 1309, "");
static_assert(offsetof(Patch, axisOrder) == 1312, "");
static_assert(offsetof(Patch, trailLength) == 1332, "");
static_assert(offsetof(Patch, trailWidth) == 1336, "");
static_assert(offsetof(Patch, animateHyperspace) == 1340, "");
static_assert(offsetof(Patch, showPins) == 1341, "");
static_assert(offsetof(Patch, animateKeyboard) == 1342, "");
static_assert(offsetof(Patch, wheelMapping) == 1344, "");
static_assert(offsetof(Patch, viewRotation) == 1348, "");
static_assert(offsetof(Patch, reseedMode) == 1356, "");
static_assert(offsetof(Patch, seed) == 1360, "");
static_assert(offsetof(Patch, seedOnPitch) == 1364, "");
static_assert(offsetof(Patch, seedOnVolume) == 1365, "");
static_assert(offsetof(Patch, midiMap) == 1368, "");
static_assert(offsetof(Patch, pitchBendRange) == 1880, "");
static_assert(offsetof(Patch, filterDepth) == 1884, "");
static_assert(offsetof(Patch, lfoDepth) == 1888, "");
static_assert(offsetof(Patch, localBpm) == 1892, "");
static_assert(offsetof(Patch, syncToHost) == 1896, "");
static_assert(offsetof(Patch, lfoSine) == 1897, "");
static_assert(offsetof(Patch, lfoMeasure) == 1900, "");
static_assert(offsetof(Patch, qwertyControl) == 1904, "");

// Fills `patch` as a new patch named "new patch" (the synth then numbers it).
// Draws the determinism seed from this thread's generator, seeded from the
// clock.
void newPatch(Patch& patch);

// Default envelope shapes: volume (isVolume), home (isHome) or range.
void resetEnvelope(PatchEnvelope& envelope, bool isHome, bool isVolume);

// Resets axisOrder to 2, 1, 0, 3, 4 unless it is a permutation of 0..4.
void validateAxisOrder(Patch& patch);

// The factory controller map: everything -1, then the defaults.
void setMidiMapDefaults(Patch& patch);

// Guarded readers for fields a record from outside may hold out of range.
// They never alter the record.
inline int32_t safePointCount(const PatchEnvelope& e)
{
    return e.pointCount < 2 ? 2 : (e.pointCount > 10 ? 10 : e.pointCount);
}

// Parameter index mapped to controller byte c, or -1 when none (or invalid).
inline int32_t mappedParameter(const Patch& patch, int controller)
{
    int32_t index = patch.midiMap[controller & 127];
    return (index >= 0 && index <= 100) ? index : -1;
}
