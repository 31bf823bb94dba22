// The grouped flock step leaves every oscillator exactly as the one-by-one
// step does (places, velocities, sound values, phases, noise positions) and
// gives each the same sample, bit for bit, in its SSE2 and its AVX2 build:
// through walls, phase wraps (also several periods in one sample at a low
// sample rate), clamped and non-numeric sound values and stray noise
// positions, with groups that share a voice and groups that do not.
#include "FlockKernel.h"
#include "Oscillator.h"
#include "SynthSettings.h"
#include "SynthTables.h"
#include "Voice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

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

struct Flock {
    SynthTables tables;
    SynthSettings settings;
    Voice voices[3];
    std::vector<Oscillator> oscillators;

    Flock(uint32_t seed, int count)
    {
        Draw draw(seed);
        settings.reflectionFactor = draw.between(0.1, 3.0);
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
        oscillators.resize(static_cast<size_t>(count));
        for (Oscillator& o : oscillators) {
            o.voice = &voices[draw.below(3)];
            o.speedFactor = static_cast<float>(draw.between(0.0, 2.0) / 44100.0);
            double length = 0.0;
            for (int d = 0; d < 5; ++d) {
                // Some start right at a wall.
                o.position[d] =
                    draw.below(8) == 0 ? (draw.below(2) ? 1.0 : -1.0) : draw.between(-1.0, 1.0);
                o.velocity[d] = draw.between(-1.0, 1.0);
                length += o.velocity[d] * o.velocity[d];
            }
            for (double& v : o.velocity)
                v /= std::sqrt(length);
            o.phase = draw.below(4) == 0 ? 1.0 - draw.between(0.0, 1e-4) : draw.unit();
            const int stray = draw.below(10);
            o.noiseIndex = stray == 0 ? -3 : (stray == 1 ? 9000 : draw.below(SynthTables::kWave));
        }
    }

    // One sample of every oscillator, one by one or grouped.
    void step(double period, bool grouped, FlockKernel::Width width, std::vector<float>& left,
              std::vector<float>& right)
    {
        const size_t n = oscillators.size();
        left.assign(n, 0.0f);
        right.assign(n, 0.0f);
        if (!grouped) {
            for (size_t i = 0; i < n; ++i) {
                left[i] = right[i] = -0.0f;
                oscillators[i].step(settings, tables, period, left[i], right[i]);
            }
            return;
        }
        // Every other oscillator first, so the kernel's order is not the pool's.
        std::vector<int32_t> order;
        for (size_t i = 0; i < n; i += 2)
            order.push_back(static_cast<int32_t>(i));
        for (size_t i = 1; i < n; i += 2)
            order.push_back(static_cast<int32_t>(i));
        FlockKernel::step(oscillators.data(), order.data(), static_cast<int32_t>(n), settings,
                          tables, period, left.data(), right.data(), width);
    }
};

// Steps three copies of the same flock (one by one, SSE2, AVX2) for a while
// and compares them after every sample.
void expectSameAsOneByOne(uint32_t seed, int count, double period, bool sortByVoice)
{
    Flock reference(seed, count), baseline(seed, count), wide(seed, count);
    if (sortByVoice)
        for (Flock* f : {&reference, &baseline, &wide})
            for (size_t i = 0; i + 1 < f->oscillators.size(); ++i)
                for (size_t j = i + 1; j < f->oscillators.size(); ++j)
                    if (f->oscillators[j].voice < f->oscillators[i].voice)
                        std::swap(f->oscillators[i], f->oscillators[j]);
    // The copies point at their own voices.
    for (Flock* f : {&baseline, &wide})
        for (size_t i = 0; i < f->oscillators.size(); ++i)
            f->oscillators[i].voice =
                f->voices + (reference.oscillators[i].voice - reference.voices);

    std::vector<float> refLeft, refRight, left, right;
    for (int sample = 0; sample < 300; ++sample) {
        reference.step(period, false, FlockKernel::Width::kBaseline, refLeft, refRight);
        for (Flock* f : {&baseline, &wide}) {
            const bool isWide = f == &wide;
            f->step(period, true,
                    isWide ? FlockKernel::Width::kWide : FlockKernel::Width::kBaseline, left,
                    right);
            for (size_t i = 0; i < reference.oscillators.size(); ++i) {
                const Oscillator& a = reference.oscillators[i];
                const Oscillator& b = f->oscillators[i];
                const bool same = sameBits(a.position, b.position) &&
                                  sameBits(a.velocity, b.velocity) && sameBits(a.value, b.value) &&
                                  sameBits(a.phase, b.phase) && a.noiseIndex == b.noiseIndex &&
                                  sameBits(left[i], refLeft[i]) && sameBits(right[i], refRight[i]);
                ASSERT_TRUE(same) << (isWide ? "AVX2" : "SSE2") << " build, seed " << seed
                                  << ", sample " << sample << ", oscillator " << i << ": value "
                                  << b.value[0] << " (one by one " << a.value[0] << "), phase "
                                  << b.phase << " (" << a.phase << "), left " << left[i] << " ("
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
}

TEST(FlockKernel, SeveralPeriodsInOneSampleMatchTheOneByOneStep)
{
    // At 2000 Hz the top notes pass more than one period per sample.
    for (uint32_t seed = 100; seed < 110; ++seed)
        expectSameAsOneByOne(seed, 12, 1.0 / 2000.0, true);
}

TEST(FlockKernel, NothingToStepLeavesTheSamplesAlone)
{
    SynthTables tables;
    SynthSettings settings;
    float left = 1.0f, right = 2.0f;
    FlockKernel::step(nullptr, nullptr, 0, settings, tables, 1.0 / 44100.0, &left, &right);
    EXPECT_EQ(left, 1.0f);
    EXPECT_EQ(right, 2.0f);
}
