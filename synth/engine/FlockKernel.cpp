#include "FlockKernel.h"

#include "Oscillator.h"
#include "SynthTables.h"
#include "Voice.h"

// The AVX2 build of the kernel (FlockKernelAvx2.cpp).
void flockStepAvx2(Oscillator* const* owner, FlockState& state, const int8_t* voiceOf,
                   const Voice* voices, int32_t count, const SynthSettings& settings,
                   const SynthTables& tables, double period, float* left, float* right);

namespace {
const int kLanes = 2;
#include "FlockKernelBody.inc"

// Asked once when the library loads, before any audio thread runs.
bool detectAvx2()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}
const bool kAvx2 = detectAvx2();
} // namespace

bool FlockKernel::wideAvailable()
{
    return kAvx2;
}

void FlockKernel::step(Oscillator* const* owner, FlockState& state, const int8_t* voiceOf,
                       const Voice* voices, int32_t count, const SynthSettings& settings,
                       const SynthTables& tables, double samplePeriod, float* left, float* right,
                       Width width)
{
    if (count > FlockState::kSize)
        count = FlockState::kSize;
    if (kAvx2 && width != Width::kBaseline)
        flockStepAvx2(owner, state, voiceOf, voices, count, settings, tables, samplePeriod, left,
                      right);
    else
        stepGroups(owner, state, voiceOf, voices, count, settings, tables, samplePeriod, left,
                   right);
}
