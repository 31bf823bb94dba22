// The shared low-pass: its design against the analytic fourth-order
// Butterworth response, clamping, stage identity, and decay to exact zeros.
#include "LowPassCascade.h"
#include "DenormalGuard.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace {
const double kPi = 3.14159265358979323846;

// Steady-state gain of `stages` stages in series at frequency f, measured
// as output RMS / input RMS of a sine after the transient has died away.
double measuredGainDb(LowPassCascade& filter, int stages, double f, double fs)
{
    filter.clearHistory();
    const int settle = static_cast<int>(fs * 0.5), measure = static_cast<int>(fs * 0.5);
    double in2 = 0.0, out2 = 0.0;
    for (int n = 0; n < settle + measure; ++n) {
        float x = static_cast<float>(std::sin(2.0 * kPi * f * n / fs));
        float y = x;
        for (int s = 0; s < stages; ++s)
            y = filter.runStage(s, y);
        if (n >= settle) {
            in2 += double(x) * x;
            out2 += double(y) * y;
        }
    }
    return 10.0 * std::log10(out2 / in2);
}

double butterworthDb(double f, double fc, double fs)
{
    double r = std::tan(kPi * f / fs) / std::tan(kPi * fc / fs);
    return -10.0 * std::log10(1.0 + std::pow(r, 8.0));
}

bool isDenormal(float x)
{
    return x != 0.0f && std::fabs(x) < 1.17549435e-38f;
}
} // namespace

TEST(LowPassCascade, OutputsSilenceBeforeTheFirstDesign)
{
    LowPassCascade filter(0.48);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(filter.runStage(0, 1.0f), 0.0f);
}

TEST(LowPassCascade, NumeratorCoefficientsAreAlwaysTwoAndOne)
{
    LowPassCascade filter(0.49f);
    for (double fc : {40.0, 1000.0, 12840.0, 20040.0})
        for (double q : {0.5, 1.0, 3.0, 5.5}) {
            filter.designLowPass(fc, q, 44100.0);
            const float* c = filter.coefficientSet();
            EXPECT_EQ(c[3], 2.0f);
            EXPECT_EQ(c[4], 1.0f);
            EXPECT_EQ(c[7], 2.0f);
            EXPECT_EQ(c[8], 1.0f);
        }
}

TEST(LowPassCascade, ClampsTheCutoffByItsLimitFactor)
{
    LowPassCascade effect(0.49f), instrument(0.48);
    effect.designLowPass(20040.0, 1.0, 32000.0);
    instrument.designLowPass(20040.0, 1.0, 32000.0);
    EXPECT_NEAR(effect.clampedCutoff(), 15680.0, 0.001);
    EXPECT_NEAR(instrument.clampedCutoff(), 15360.0, 1e-9);
    effect.designLowPass(20040.0, 1.0, 44100.0);
    EXPECT_EQ(effect.clampedCutoff(), 20040.0);
    effect.designLowPass(30000.0, 1.0, 44100.0);
    EXPECT_NEAR(effect.clampedCutoff(), 21609.0, 0.001);
}

TEST(LowPassCascade, AttenuatesAsFourthOrderButterworthAtQOne)
{
    const double fs = 44100.0, fc = 2000.0;
    LowPassCascade filter(0.48);
    filter.designLowPass(fc, 1.0, fs);
    for (double ratio : {0.1, 0.25, 0.5, 0.8, 1.0, 1.25, 1.5, 2.0}) {
        double f = fc * ratio;
        EXPECT_NEAR(measuredGainDb(filter, 1, f, fs), butterworthDb(f, fc, fs), 0.1)
            << "at " << f << " Hz";
    }
}

TEST(LowPassCascade, EachFurtherStageAddsTheSameAttenuation)
{
    const double fs = 48000.0, fc = 1000.0;
    LowPassCascade filter(0.48);
    filter.designLowPass(fc, 1.0, fs);
    for (double f : {500.0, 1000.0, 2000.0}) {
        double one = measuredGainDb(filter, 1, f, fs);
        EXPECT_NEAR(measuredGainDb(filter, 2, f, fs), 2.0 * one, 0.1) << f;
        EXPECT_NEAR(measuredGainDb(filter, 3, f, fs), 3.0 * one, 0.15) << f;
    }
}

TEST(LowPassCascade, HigherQRaisesAPeakAtTheCutoff)
{
    const double fs = 44100.0, fc = 1000.0;
    LowPassCascade filter(0.48);
    filter.designLowPass(fc, 1.0, fs);
    double flat = measuredGainDb(filter, 1, fc, fs);
    filter.designLowPass(fc, 4.0, fs);
    double resonant = measuredGainDb(filter, 1, fc, fs);
    EXPECT_NEAR(flat, -3.01, 0.1);
    EXPECT_GT(resonant, flat + 9.0);
}

TEST(LowPassCascade, SlotsAreIndependentButShareCoefficients)
{
    LowPassCascade filter(0.48);
    filter.designLowPass(3000.0, 1.0, 44100.0);
    for (int n = 0; n < 200; ++n) {
        float x = (n % 7) * 0.1f - 0.3f;
        float left = filter.runStage(0, x);
        float right = filter.runStage(3, x);
        EXPECT_EQ(left, right);
    }
    EXPECT_EQ(filter.slotHistory(1)[0], 0.0f); // unused slots stay untouched
}

TEST(LowPassCascade, DecaysToExactZerosNeverDenormals)
{
    LowPassCascade filter(0.48);
    filter.designLowPass(200.0, 5.0, 44100.0); // slow, ringing decay
    for (int n = 0; n < 2000; ++n)
        filter.runStage(0, (n & 1) ? 1.0f : -0.7f);
    bool reachedZero = false;
    for (int n = 0; n < 44100 * 20; ++n) {
        float y = filter.runStage(0, 0.0f);
        ASSERT_FALSE(isDenormal(y)) << "sample " << n;
        for (int k = 0; k < 4; ++k)
            ASSERT_FALSE(isDenormal(filter.slotHistory(0)[k]));
        if (y == 0.0f && filter.slotHistory(0)[0] == 0.0f && filter.slotHistory(0)[2] == 0.0f) {
            reachedZero = true;
            break;
        }
    }
    EXPECT_TRUE(reachedZero);
}

TEST(LowPassCascade, InvalidDesignArgumentsKeepThePreviousDesign)
{
    LowPassCascade filter(0.48);
    filter.designLowPass(1000.0, 1.0, 44100.0);
    float before[9];
    std::memcpy(before, filter.coefficientSet(), sizeof before);
    filter.designLowPass(NAN, 1.0, 44100.0);
    filter.designLowPass(1000.0, 0.0, 44100.0);
    filter.designLowPass(1000.0, 1.0, 0.0);
    filter.designLowPass(-5.0, 1.0, 44100.0);
    filter.designLowPass(1000.0, INFINITY, 44100.0);
    EXPECT_EQ(std::memcmp(before, filter.coefficientSet(), sizeof before), 0);
}

// The stereo kernel without software flushes, run while the processor
// flushes denormals (as inside the processing entries), gives the stage
// kernel's results bit for bit, through a loud signal and its decay into the
// denormal range; with software flushes it does so in any mode.
TEST(LowPassCascade, StereoKernelMatchesTheStagesBitForBit)
{
    for (bool hardware : {false, true}) {
        for (int stages = 1; stages <= 3; ++stages) {
            LowPassCascade reference(0.48), stereo(0.48);
            reference.designLowPass(300.0, 4.0, 44100.0);
            stereo.designLowPass(300.0, 4.0, 44100.0);
            std::unique_ptr<DenormalGuard> guard(hardware ? new DenormalGuard : nullptr);
            ASSERT_EQ(LowPassCascade::hardwareFlushes(), hardware);
            uint32_t seed = 99;
            for (int n = 0; n < 44100 * 4; ++n) {
                seed = seed * 1664525u + 1013904223u;
                const float noise = static_cast<float>(seed >> 8) / 16777216.0f - 0.5f;
                const float x = n < 4000 ? noise : 0.0f;
                float l = x, r = 0.5f * x, expectL = x, expectR = 0.5f * x;
                for (int k = 0; k < stages; ++k) {
                    expectL = reference.runStage(k, expectL);
                    expectR = reference.runStage(3 + k, expectR);
                }
                stereo.runStereo(stages, l, r, !hardware);
                uint32_t a[2], b[2];
                std::memcpy(&a[0], &l, 4);
                std::memcpy(&a[1], &r, 4);
                std::memcpy(&b[0], &expectL, 4);
                std::memcpy(&b[1], &expectR, 4);
                ASSERT_TRUE(a[0] == b[0] && a[1] == b[1])
                    << "sample " << n << ", " << stages << " stages, hardware flush " << hardware;
            }
        }
    }
}

// The block kernel gives what the stereo kernel gives sample by sample, with
// the owner's rule for a non-finite result (zero out, that channel's slots
// cleared), at every depth and block length: the same outputs bit for bit
// and the same history afterwards, slots beyond the depth included.
TEST(LowPassCascade, BlockKernelMatchesTheStereoKernelBitForBit)
{
    DenormalGuard guard;
    for (int stages = 0; stages <= 3; ++stages) {
        LowPassCascade reference(0.48), block(0.48);
        for (LowPassCascade* f : {&reference, &block}) {
            f->designLowPass(900.0, 6.0, 44100.0);
            // Old history in every slot, as after a change of depth.
            for (int n = 0; n < 50; ++n)
                for (int slot = 0; slot < 6; ++slot)
                    f->runStage(slot, 0.3f);
        }
        const float gain = 0.8f;
        uint32_t seed = 7;
        int n = 0;
        const int lengths[] = {1, 3, 64, 511, 512, 2, 1000, 4000, 17};
        for (int length : lengths) {
            std::vector<float> left(length), right(length), expectL(length), expectR(length);
            for (int i = 0; i < length; ++i, ++n) {
                seed = seed * 1664525u + 1013904223u;
                const float noise = static_cast<float>(seed >> 8) / 16777216.0f - 0.5f;
                left[i] = n == 700 ? INFINITY : noise;
                right[i] = n == 3000 ? std::nanf("") : n == 5000 ? -INFINITY : -noise;
                float l = gain * left[i], r = gain * right[i];
                reference.runStereo(stages, l, r, false);
                if (!std::isfinite(l)) {
                    l = 0.0f;
                    for (int slot = 0; slot < 3; ++slot)
                        reference.clearSlot(slot);
                }
                if (!std::isfinite(r)) {
                    r = 0.0f;
                    for (int slot = 3; slot < 6; ++slot)
                        reference.clearSlot(slot);
                }
                expectL[i] = l;
                expectR[i] = r;
            }
            block.runStereoBlock(stages, gain, left.data(), right.data(), length);
            ASSERT_EQ(std::memcmp(left.data(), expectL.data(), length * sizeof(float)), 0)
                << stages << " stages, block of " << length;
            ASSERT_EQ(std::memcmp(right.data(), expectR.data(), length * sizeof(float)), 0)
                << stages << " stages, block of " << length;
            for (int slot = 0; slot < 6; ++slot)
                ASSERT_EQ(std::memcmp(block.slotHistory(slot), reference.slotHistory(slot),
                                      4 * sizeof(float)),
                          0)
                    << stages << " stages, slot " << slot;
        }
    }
}
