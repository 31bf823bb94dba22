// The grouped oscillator step compiled for AVX2 (four doubles per register).
// This file alone is built with -mavx2 and without fused multiply-adds, and
// runs only where FlockKernel found AVX2 at load time.
#include "Oscillator.h"
#include "SynthTables.h"
#include "Voice.h"

namespace {
const int kLanes = 4;
#include "FlockKernelBody.inc"
} // namespace

void flockStepAvx2(Oscillator* pool, const int32_t* indices, int32_t count,
                   const SynthSettings& settings, const SynthTables& tables, double period,
                   float* left, float* right)
{
    stepGroups(pool, indices, count, settings, tables, period, left, right);
}
