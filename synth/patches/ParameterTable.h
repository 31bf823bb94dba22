// The instrument's 101 host parameters as one table: per index the names,
// the label, the Patch field, how a normalised host value (0..1) maps into
// that field, how the stored value is shown, and what else a change
// updates. The host operations, the editor, MIDI control and the MIDI map
// dialog all go through it.
//
// Arithmetic: mappings are evaluated in double from single-precision
// constants and converted once, so that a stored integer is what the full
// product truncates to (0.29 maps to 28, not 29). Conversions to integer
// saturate, so any float a host sends, NaN and infinities included, gives a
// defined result.
#pragma once

#include "Patch.h"

#include <cstddef>
#include <cstdint>

enum { kParameterCount = 101 };

enum class ParameterMapping : uint8_t {
    Percent,     // truncate(v x 100)
    Pan,         // truncate((v - 0.5) x 200)
    Count,       // 1 - truncate(v x -63): 1..64
    Portamento,  // 1 - truncate(v x -999): 1..1000 ms
    Seed,        // truncate(v x 134217728)
    Time,        // K v^2 + 0.0001 seconds, K = 9.9999 - 0.0001 in single precision
    Level,       // v itself
    Semitones24, // truncate(v x 24)
    Half,        // truncate(v x 50)
};

enum class ParameterDisplay : uint8_t {
    Decibel,      // the effect base's decibel text of stored x 0.01
    Integer,      // "%i"
    Blank,        // empty
    Milliseconds, // "%.2f" of seconds x 1000, trailing zeros and point trimmed
    LevelPercent, // "%i" of truncate(level x 100)
};

enum class ParameterChange : uint8_t {
    None,            // store only; read at the next note or block
    LfoDepth,        // speed-LFO depth factors
    SpeedSpread,     // per-oscillator speed factors
    Reflection,      // wall reflection factor
    Attraction,      // attraction steering step
    Repulsion,       // repulsion steering step
    Proximity,       // proximity radius
    OscillatorCount, // speed spread, then attraction and repulsion steps
    Envelope,        // the envelope edit hook for the row's stage
};

// Which element of a PatchEnvelope a row addresses.
enum class EnvelopeStage : uint8_t {
    None, // a scalar Patch field
    Range,
    InitialLevel, // pointLevel 0
    AttackTime,
    AttackLevel, // pointLevel n-1, n = the envelope's own (guarded) pointCount
    DecayTime,
    DecayLevel, // sustainLevel
    ReleaseTime,
    ReleaseLevel,
};

struct ParameterField {
    int32_t Patch::*scalar; // integer field, or null for an envelope element
    int8_t envelope;        // PatchEnvelopeIndex, or -1
    EnvelopeStage stage;
};

struct ParameterInfo {
    const char* shortName; // at most 11 characters
    const char* longName;  // at most 38 characters
    const char* label;     // unit shown after the value
    ParameterField field;
    ParameterMapping mapping;
    ParameterDisplay display;
    ParameterChange change;
};

// The row of `index`, or null outside 0..100.
const ParameterInfo* findParameter(int32_t index);

// Maps normalised `value` by the row's mapping and stores it into `patch`.
void storeParameter(Patch& patch, const ParameterInfo& info, float value);
// The normalised value of the stored field (0 when the stored value gives
// no finite result, for example a NaN level from a foreign record).
float readParameter(const Patch& patch, const ParameterInfo& info);

// Text of the stored value for every display but Decibel, at most
// `size` - 1 characters, always terminated.
void formatParameterValue(const Patch& patch, const ParameterInfo& info, char* text, size_t size);
// The linear gain a Decibel row shows: stored x 0.01.
float decibelGain(const Patch& patch, const ParameterInfo& info);

// Truncation toward zero that saturates at the int32 limits; NaN gives 0.
int32_t saturatingTruncate(double value);

// Scale of the time mapping: 9.9999 - 0.0001 in single precision (9.9997997).
extern const float kTimeScale;
