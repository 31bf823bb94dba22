// Timings of the engine's kernels, each on its own, and of whole engine
// samples. Items are what one call of the kernel handles: one oscillator, one
// voice, one envelope, one stereo sample, so the rates compare directly with
// the per-sample costs that `nimhost bench` reports for the plug-ins.
//
//   kernel_bench                               every benchmark
//   kernel_bench --benchmark_filter=Oscillator one family
#include "DenormalGuard.h"
#include "Envelope.h"
#include "FilterEffect.h"
#include "FlockKernel.h"
#include "LowPassCascade.h"
#include "Patch.h"
#include "SynthEngine.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace {
const double kRate = 44100.0;
const int kBlock = 512;

// A headless engine on a new patch with `oscillators` oscillators, holding a
// chord of `notes` notes that has passed its attack.
class HeldChord {
public:
    HeldChord(int oscillators, int notes, int depth = 1) : engine(settings)
    {
        newPatch(patch);
        patch.seed = 1;
        patch.syncToHost = 0;
        patch.oscillatorCount = oscillators;
        patch.filterDepth = depth;
        engine.usePatch(&patch);
        engine.setSampleRate(kRate);
        engine.loadSettings();
        engine.applySpeedSpread();
        engine.reset();
        for (int n = 0; n < notes; ++n)
            engine.noteOn(36 + 3 * n, 100);
        render(static_cast<int>(kRate * 0.5));
    }

    void render(int frames)
    {
        while (frames > 0) {
            int n = frames < kBlock ? frames : kBlock;
            engine.render(left, right, n);
            frames -= n;
        }
    }

    SynthSettings settings;
    SynthEngine engine;
    Patch patch;
    float left[kBlock], right[kBlock];
};

// One flock step (flight, fades, glide, clamping, sound) of every live
// oscillator, in the engine's order. Items: oscillator-samples.
void OscillatorStep(benchmark::State& state)
{
    DenormalGuard guard; // as the processing entries hold
    const int count = static_cast<int>(state.range(0));
    HeldChord chord(count, 8);
    SynthEngine& e = chord.engine;
    const double period = e.samplePeriod();
    for (auto _ : state) {
        float left = 0.0f, right = 0.0f;
        for (int32_t i = chord.settings.liveCount - 1; i >= 0; --i)
            e.oscillators[i].step(chord.settings, e.tables, period, left, right);
        benchmark::DoNotOptimize(left);
        benchmark::DoNotOptimize(right);
    }
    state.SetItemsProcessed(state.iterations() * chord.settings.liveCount);
}
BENCHMARK(OscillatorStep)->Arg(8)->Arg(64);

// The grouped flock step over every live oscillator of a held chord (all
// plain), in its SSE2 build (argument 0) and its AVX2 build (1, where the
// processor has it). Items: oscillator-samples.
void FlockKernelStep(benchmark::State& state)
{
    DenormalGuard guard; // as the processing entries hold
    HeldChord chord(64, 8);
    SynthEngine& e = chord.engine;
    const double period = e.samplePeriod();
    const FlockKernel::Width width =
        state.range(0) ? FlockKernel::Width::kWide : FlockKernel::Width::kBaseline;
    if (width == FlockKernel::Width::kWide && !FlockKernel::wideAvailable())
        state.SkipWithError("no AVX2 on this processor");
    // The columns as the engine last grouped them.
    int8_t voiceOf[FlockState::kSize] = {};
    Oscillator* owner[FlockState::kSize] = {};
    int32_t count = 0;
    const int32_t live = chord.settings.liveCount;
    for (int32_t i = 0; i < live; ++i) {
        Oscillator& o = e.oscillators[i];
        owner[o.column()] = &o;
        voiceOf[o.column()] = FlockKernel::plain(o) ? static_cast<int8_t>(o.voice - e.voices) : -1;
        count += voiceOf[o.column()] >= 0;
    }
    float left[FlockState::kSize] = {}, right[FlockState::kSize] = {};
    for (auto _ : state) {
        FlockKernel::step(owner, e.flock, voiceOf, e.voices, live, chord.settings, e.tables, period,
                          left, right, width);
        benchmark::DoNotOptimize(left);
        benchmark::DoNotOptimize(right);
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(FlockKernelStep)->Arg(0)->Arg(1);

// One oscillator's steering (neighbour upkeep, one candidate, attraction or
// repulsion), rotating through the pool as the engine does.
void NeighbourSteering(benchmark::State& state)
{
    DenormalGuard guard; // as the processing entries hold
    HeldChord chord(64, 8);
    SynthEngine& e = chord.engine;
    int32_t index = 0;
    for (auto _ : state) {
        e.oscillators[index].steer(e.oscillators, chord.settings, e.tables);
        if (++index >= chord.settings.liveCount)
            index = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(NeighbourSteering);

// A sustaining voice's sound state: eleven envelope ticks, home point,
// ranges, LFO and speed. Items: voice-samples.
void VoiceSoundState(benchmark::State& state)
{
    DenormalGuard guard; // as the processing entries hold
    HeldChord chord(8, 1);
    Voice& v = *chord.engine.activeVoices;
    const float rate = static_cast<float>(kRate);
    for (auto _ : state) {
        v.computeSoundState(rate);
        benchmark::DoNotOptimize(v.speed);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(VoiceSoundState);

// One envelope tick in the attack (a segment that does not end while timed)
// and in the decay stage. Items: envelope ticks.
void EnvelopeTick(benchmark::State& state)
{
    DenormalGuard guard; // as the processing entries hold
    PatchEnvelope shape{};
    resetEnvelope(shape, false, true);
    const bool attack = state.range(0) == 0;
    shape.attackTime = attack ? 1.0e6f : 0.0f;
    Envelope envelope;
    envelope.shape = &shape;
    const float rate = static_cast<float>(kRate);
    envelope.start(rate);
    envelope.tick(rate);
    envelope.tick(rate);
    for (auto _ : state)
        benchmark::DoNotOptimize(envelope.tick(rate));
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(attack ? "attack" : "decay");
}
BENCHMARK(EnvelopeTick)->Arg(0)->Arg(1);

// The output filter on a stereo sample: 1, 2 or 3 four-pole stages per
// channel, as the instrument and the effect run them. Items: stereo samples.
void FilterStages(benchmark::State& state)
{
    DenormalGuard guard; // as the processing entries hold
    const int stages = static_cast<int>(state.range(0));
    LowPassCascade filter(0.48);
    filter.designLowPass(2000.0, 1.5, kRate);
    std::vector<float> noise(kBlock);
    uint32_t seed = 1;
    for (float& x : noise) {
        seed = seed * 1664525u + 1013904223u;
        x = static_cast<float>(seed >> 8) / 16777216.0f - 0.5f;
    }
    for (auto _ : state) {
        for (int i = 0; i < kBlock; ++i) {
            float l = noise[i], r = -noise[i];
            for (int k = 0; k < stages; ++k) {
                l = filter.runStage(k, l);
                r = filter.runStage(3 + k, r);
            }
            benchmark::DoNotOptimize(l);
            benchmark::DoNotOptimize(r);
        }
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
}
BENCHMARK(FilterStages)->Arg(1)->Arg(2)->Arg(3);

// A new filter design (two tangents in double precision), as a gliding
// cutoff or Q asks for every sample.
void FilterDesign(benchmark::State& state)
{
    DenormalGuard guard; // as the processing entries hold
    LowPassCascade filter(0.48);
    double cutoff = 1000.0;
    for (auto _ : state) {
        filter.designLowPass(cutoff, 1.5, kRate);
        cutoff = cutoff < 10000.0 ? cutoff + 1.0 : 1000.0;
        benchmark::DoNotOptimize(filter.coefficientSet());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(FilterDesign);

// Whole engine samples with no note playing: the oscillator count check,
// settings smoothing, the (idle) flock and the output stage. Items: samples.
void IdleEngineSample(benchmark::State& state)
{
    DenormalGuard guard; // as the processing entries hold
    HeldChord chord(8, 0);
    for (auto _ : state)
        chord.render(kBlock);
    state.SetItemsProcessed(state.iterations() * kBlock);
}
BENCHMARK(IdleEngineSample);

// Whole engine samples holding an 8-note chord with 8 or 64 oscillators at
// filter depth 2. Items: samples.
void ChordEngineSample(benchmark::State& state)
{
    DenormalGuard guard; // as the processing entries hold
    HeldChord chord(static_cast<int>(state.range(0)), 8, 2);
    for (auto _ : state)
        chord.render(kBlock);
    state.SetItemsProcessed(state.iterations() * kBlock);
}
BENCHMARK(ChordEngineSample)->Arg(8)->Arg(64);

// The filter effect on stereo noise at its default settings (two stages),
// in blocks of 512. Items: stereo samples.
void FilterEffectSample(benchmark::State& state)
{
    DenormalGuard guard; // as the processing entries hold
    FilterEffect effect(nullptr);
    effect.setSampleRate(static_cast<float>(kRate));
    std::vector<float> inLeft(kBlock), inRight(kBlock), outLeft(kBlock), outRight(kBlock);
    uint32_t seed = 7;
    for (int i = 0; i < kBlock; ++i) {
        seed = seed * 1664525u + 1013904223u;
        inLeft[i] = static_cast<float>(seed >> 8) / 16777216.0f - 0.5f;
        inRight[i] = -inLeft[i];
    }
    float* ins[] = {inLeft.data(), inRight.data()};
    float* outs[] = {outLeft.data(), outRight.data()};
    for (int i = 0; i < 100; ++i) // past the parameters' initial glide
        effect.processReplacing(ins, outs, kBlock);
    for (auto _ : state) {
        effect.processReplacing(ins, outs, kBlock);
        benchmark::DoNotOptimize(outLeft.data());
    }
    state.SetItemsProcessed(state.iterations() * kBlock);
}
BENCHMARK(FilterEffectSample);
} // namespace

BENCHMARK_MAIN();
