// The oscillator step for many oscillators at once: groups of two or four
// neighbouring columns of the flock state fly and sound side by side in
// vector registers, loading and storing their fields straight from the
// flock's arrays. Only plain oscillators (a sounding voice, no fade, no glide) take
// part; the caller steps the others one by one with Oscillator::step. Each
// oscillator's state and sample come out bit for bit as the one-by-one step
// makes them (the same operations in the same order on each lane, no fused
// multiply-adds); the caller sums the samples.
//
// The same kernel is compiled twice: for SSE2, the baseline of every build,
// two oscillators (doubles) a register, and for AVX2, four a register,
// chosen at run time when the processor has it.
// Audio thread only.
#pragma once

#include "FlockState.h"
#include "Oscillator.h"
#include "Voice.h"

#include <cstdint>

class SynthTables;
struct SynthSettings;

class FlockKernel {
public:
    enum class Width { kBest, kBaseline, kWide };

    // Whether the processor runs the AVX2 kernel.
    static bool wideAvailable();
    // Whether the grouped kernel handles o this sample (otherwise Oscillator::step).
    static bool plain(const Oscillator& o)
    {
        return o.voice && o.voice->state != Voice::kFinished && o.fadeDirection == 0 && !o.gliding;
    }
    // Steps the oscillator of every column c below count (at most
    // FlockState::kSize) with voiceOf[c] >= 0: owner[c], bound to column c
    // of state, a plain oscillator of voices[voiceOf[c]]. left[c] and
    // right[c] receive its sample; the entries of the other columns, and
    // their state, stay as they are. voiceOf, left and right hold
    // FlockState::kSize entries. kWide falls back to the baseline where the
    // processor lacks AVX2.
    static void step(Oscillator* const* owner, FlockState& state, const int8_t* voiceOf,
                     const Voice* voices, int32_t count, const SynthSettings& settings,
                     const SynthTables& tables, double samplePeriod, float* left, float* right,
                     Width width = Width::kBest);
};
