// The grouped oscillator step compiled for AVX2 (four doubles per register).
// This file alone is built with -mavx2 and without fused multiply-adds, and
// runs only where FlockKernel found AVX2 at load time.
#include "FlockState.h"
#include "Oscillator.h"
#include "SynthTables.h"
#include "Voice.h"

#include <immintrin.h>

namespace {
const int kLanes = 4;
#include "FlockKernelBody.inc"
} // namespace

void flockStepAvx2(Oscillator* const* owner, FlockState& state, const int8_t* voiceOf,
                   const Voice* voices, int32_t count, const SynthSettings& settings,
                   const SynthTables& tables, double period, float* left, float* right)
{
    stepGroups(owner, state, voiceOf, voices, count, settings, tables, period, left, right);
}
