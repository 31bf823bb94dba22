// The grouped flock step leaves every oscillator exactly as the one-by-one
// step does (places, velocities, sound values, phases, noise positions) and
// gives each the same sample, bit for bit, in its SSE2 and its AVX2 build:
// through walls, phase wraps (also several periods in one sample at a low
// sample rate), clamped and non-numeric sound values and stray noise
// positions, with groups that share a voice and groups that do not, and
// groups where some oscillators are not plain and must stay untouched.
#include "FlockKernel.h"
#include "FlockState.h"
#include "Oscillator.h"
#include "SynthSettings.h"
#include "SynthTables.h"
#include "Voice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {
class Draw {
public:
    explicit Draw(uint32_t seed) : state(seed) {}
    double unit() // 0..1
    {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / 16777216.0;
    }
    double between(double low, double high) { return low + (high - low) * unit(); }
    int below(int n) { return static_cast<int>(unit() * n); }

private:
    uint32_t state;
};

template <typename T> bool sameBits(const T& a, const T& b)
{
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// A pool of up to 64 oscillators on three voices, drawn from a seed: some
// share their voice with their neighbours, some start at a wall or just
// before a phase wrap, and a few are not plain (no voice, a fade, a glide),
// so the kernel must leave them to the one-by-one step.
struct Flock {
    SynthTables tables;
    SynthSettings settings;
    Voice voices[3];
    FlockState state;
    Oscillator pool[FlockState::kSize];
    Oscillator* owner[FlockState::kSize];
    int count;

    Flock(uint32_t seed, int oscillators, bool runs) : count(oscillators)
    {
        Draw draw(seed);
        settings.reflectionFactor = draw.between(0.1, 3.0);
        settings.fadeStep = 0.01f;
        settings.glideStep = 0.01f;
        const float nan = std::numeric_limits<float>::quiet_NaN();
        for (Voice& v : voices) {
            v.state = draw.below(3); // attack, sustain or release
            v.speed = static_cast<float>(draw.between(0.0, 400.0));
            v.oscillatorGain = static_cast<float>(draw.between(0.0, 1.0));
            for (int d = 0; d < 5; ++d) {
                v.home[d] = static_cast<float>(draw.between(-0.3, 1.3));
                v.range[d] = static_cast<float>(draw.between(0.0, 1.0));
            }
            v.home[1] = static_cast<float>(draw.between(-20.0, 150.0)); // pitch, beyond 0..128
        }
        if (draw.below(4) == 0)
            voices[2].range[draw.below(5)] = nan;
        for (int i = 0; i < FlockState::kSize; ++i) {
            Oscillator& o = pool[i];
            o.bind(&state, i);
            owner[i] = &o;
            // In runs, neighbours mostly share a voice, as the pool often has them.
            o.voice =
                runs && i > 0 && draw.below(5) != 0 ? pool[i - 1].voice : &voices[draw.below(3)];
            const int kind = draw.below(16);
            if (kind == 0) {
                o.voice = nullptr;
            } else if (kind == 1) {
                o.fadeDirection = draw.below(2) ? 1 : -1;
                o.fadeLevel = static_cast<float>(draw.unit());
            } else if (kind == 2) {
                o.gliding = true;
                o.glideLevel = static_cast<float>(draw.unit());
                for (float& p : o.previous)
                    p = static_cast<float>(draw.unit());
            }
            o.speedFactor() = static_cast<float>(draw.between(0.0, 2.0) / 44100.0);
            double length = 0.0;
            for (int d = 0; d < 5; ++d) {
                // Some start right at a wall.
                o.position(d) =
                    draw.below(8) == 0 ? (draw.below(2) ? 1.0 : -1.0) : draw.between(-1.0, 1.0);
                o.velocity(d) = draw.between(-1.0, 1.0);
                length += o.velocity(d) * o.velocity(d);
                o.value(d) = static_cast<float>(draw.unit());
            }
            for (int d = 0; d < 5; ++d)
                o.velocity(d) /= std::sqrt(length);
            o.phase() = draw.below(4) == 0 ? 1.0 - draw.between(0.0, 1e-4) : draw.unit();
            const int stray = draw.below(10);
            o.noiseIndex() = stray == 0 ? -3 : (stray == 1 ? 9000 : draw.below(SynthTables::kWave));
        }
    }
    Flock(const Flock&) = delete;
    Flock& operator=(const Flock&) = delete;

    // One sample of the first `count` oscillators: one by one, or as the
    // engine runs them (the kernel for plain ones, the others one by one).
    void step(double period, bool grouped, FlockKernel::Width width, float* left, float* right)
    {
        int8_t voiceOf[FlockState::kSize];
        for (int i = 0; i < FlockState::kSize; ++i) {
            voiceOf[i] = -1;
            left[i] = right[i] = 0.0f;
        }
        for (int i = 0; i < count; ++i) {
            Oscillator& o = pool[i];
            if (grouped && FlockKernel::plain(o)) {
                voiceOf[i] = static_cast<int8_t>(o.voice - voices);
            } else {
                left[i] = right[i] = -0.0f;
                o.step(settings, tables, period, left[i], right[i]);
            }
        }
        if (grouped)
            FlockKernel::step(owner, state, voiceOf, voices, count, settings, tables, period, left,
                              right, width);
    }
};

bool sameOscillator(const Oscillator& a, const Oscillator& b)
{
    bool same = sameBits(a.phase(), b.phase()) && a.noiseIndex() == b.noiseIndex() &&
                sameBits(a.fadeLevel, b.fadeLevel) && a.fadeDirection == b.fadeDirection &&
                a.gliding == b.gliding && sameBits(a.glideLevel, b.glideLevel) &&
                a.removed == b.removed;
    for (int d = 0; d < 5; ++d)
        same = same && sameBits(a.position(d), b.position(d)) &&
               sameBits(a.velocity(d), b.velocity(d)) && sameBits(a.value(d), b.value(d));
    return same;
}

// Steps three copies of the same flock (one by one, SSE2, AVX2) for a while
// and compares every oscillator of the pool, stepped or not, after every
// sample.
void expectSameAsOneByOne(uint32_t seed, int count, double period, bool runs)
{
    Flock reference(seed, count, runs), baseline(seed, count, runs), wide(seed, count, runs);
    float refLeft[FlockState::kSize], refRight[FlockState::kSize];
    float left[FlockState::kSize], right[FlockState::kSize];
    for (int sample = 0; sample < 300; ++sample) {
        reference.step(period, false, FlockKernel::Width::kBaseline, refLeft, refRight);
        for (Flock* f : {&baseline, &wide}) {
            const bool isWide = f == &wide;
            f->step(period, true,
                    isWide ? FlockKernel::Width::kWide : FlockKernel::Width::kBaseline, left,
                    right);
            for (int i = 0; i < FlockState::kSize; ++i) {
                const Oscillator& a = reference.pool[i];
                const Oscillator& b = f->pool[i];
                const bool same = sameOscillator(a, b) && sameBits(left[i], refLeft[i]) &&
                                  sameBits(right[i], refRight[i]);
                ASSERT_TRUE(same) << (isWide ? "AVX2" : "SSE2") << " build, seed " << seed
                                  << ", sample " << sample << ", oscillator " << i << ": value "
                                  << b.value(0) << " (one by one " << a.value(0) << "), phase "
                                  << b.phase() << " (" << a.phase() << "), left " << left[i] << " ("
                                  << refLeft[i] << ")";
            }
        }
    }
}
} // namespace

TEST(FlockKernel, GroupsMatchTheOneByOneStepBitForBit)
{
    for (uint32_t seed = 1; seed <= 40; ++seed)
        expectSameAsOneByOne(seed, 5 + static_cast<int>(seed % 11), 1.0 / 44100.0, seed % 2 == 0);
    // The whole pool, so the last group ends at the arrays' end.
    for (uint32_t seed = 41; seed <= 44; ++seed)
        expectSameAsOneByOne(seed, FlockState::kSize, 1.0 / 44100.0, seed % 2 == 0);
}

TEST(FlockKernel, SeveralPeriodsInOneSampleMatchTheOneByOneStep)
{
    // At 2000 Hz the top notes pass more than one period per sample.
    for (uint32_t seed = 100; seed < 110; ++seed)
        expectSameAsOneByOne(seed, 12, 1.0 / 2000.0, true);
}

TEST(FlockKernel, OscillatorsLeftOutKeepTheirStateAndSamples)
{
    // Every other oscillator is handed over, so each group mixes lanes that
    // step with lanes that must come out untouched, down to the last bit.
    for (FlockKernel::Width width : {FlockKernel::Width::kBaseline, FlockKernel::Width::kWide}) {
        Flock f(7, 30, true), before(7, 30, true);
        int8_t voiceOf[FlockState::kSize];
        float left[FlockState::kSize], right[FlockState::kSize];
        for (int i = 0; i < FlockState::kSize; ++i) {
            const bool handed = i < f.count && i % 2 == 0 && FlockKernel::plain(f.pool[i]);
            voiceOf[i] = handed ? static_cast<int8_t>(f.pool[i].voice - f.voices) : -1;
            left[i] = right[i] = 12345.0f;
        }
        voiceOf[f.count] = 0; // beyond count: not a part of this step
        FlockKernel::step(f.owner, f.state, voiceOf, f.voices, f.count, f.settings, f.tables,
                          1.0 / 44100.0, left, right, width);
        int stepped = 0;
        for (int i = 0; i < FlockState::kSize; ++i) {
            if (voiceOf[i] >= 0 && i < f.count) {
                ++stepped;
                EXPECT_NE(left[i], 12345.0f) << i;
                continue;
            }
            EXPECT_TRUE(sameOscillator(f.pool[i], before.pool[i])) << i;
            EXPECT_EQ(left[i], 12345.0f) << i;
            EXPECT_EQ(right[i], 12345.0f) << i;
        }
        EXPECT_GT(stepped, 4);
    }
}

TEST(FlockKernel, NothingToStepLeavesTheSamplesAlone)
{
    Flock f(3, 0, false);
    int8_t voiceOf[FlockState::kSize] = {};
    float left[FlockState::kSize], right[FlockState::kSize];
    for (int i = 0; i < FlockState::kSize; ++i)
        left[i] = right[i] = 1.0f;
    FlockKernel::step(f.owner, f.state, voiceOf, f.voices, 0, f.settings, f.tables, 1.0 / 44100.0,
                      left, right);
    for (int i = 0; i < FlockState::kSize; ++i) {
        EXPECT_EQ(left[i], 1.0f);
        EXPECT_EQ(right[i], 1.0f);
    }
}
