// The oscillator step for many oscillators at once: groups of two or four
// plain oscillators (a sounding voice, no fade, no glide) fly and sound side by
// side in vector registers, and every other oscillator takes the one-by-one
// Oscillator::step. Each oscillator's state and sample come out bit for bit
// as the one-by-one step makes them (the same operations in the same order
// on each lane, no fused multiply-adds); the caller sums the samples.
//
// The same kernel is compiled twice: for SSE2, the baseline of every build,
// two oscillators (doubles) a register, and for AVX2, four a register,
// chosen at run time when the processor has it.
// Audio thread only.
#pragma once

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
    // Steps pool[indices[j]] for j below count, plain oscillators only;
    // left[i] and right[i] receive the sample of pool[i]. kWide falls back
    // to the baseline where the processor lacks AVX2.
    static void step(Oscillator* pool, const int32_t* indices, int32_t count,
                     const SynthSettings& settings, const SynthTables& tables, double samplePeriod,
                     float* left, float* right, Width width = Width::kBest);
};
