// The filter effect as an object: parameter mapping and displays, Depth
// truncation, smoothing, clamping, and the processing path's bad-input cases.
#include "FilterEffect.h"
#include "DenormalGuard.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {
std::string display(FilterEffect& effect, int index)
{
    char text[64] = {};
    effect.getParameterDisplay(index, text);
    return text;
}

// Runs `frames` samples of a constant through the effect, both channels.
std::vector<float> run(FilterEffect& effect, int frames, float input)
{
    std::vector<float> in(frames, input), left(frames), right(frames);
    float* ins[] = {in.data(), in.data()};
    float* outs[] = {left.data(), right.data()};
    effect.processReplacing(ins, outs, frames);
    return left;
}
} // namespace

TEST(FilterEffect, DepthTruncatesValueTimesTwoPointNine)
{
    const struct {
        float value;
        int depth;
        const char* text;
        float readBack;
    } cases[] = {{0.0f, 0, "12", 0.1f},        {0.3448f, 0, "12", 0.1f},
                 {0.34482f, 0, "12", 0.1f},    {0.345f, 1, "24", 0.44482756f},
                 {0.5f, 1, "24", 0.44482756f}, {0.69f, 2, "48", 0.78965515f},
                 {1.0f, 2, "48", 0.78965515f}, {1.04f, 3, "48", 1.1344827f},
                 {-0.3f, 0, "12", 0.1f},       {-1.0f, -2, "12", -0.58965516f}};
    FilterEffect effect(nullptr);
    for (const auto& c : cases) {
        effect.setParameter(FilterEffect::kDepth, c.value);
        EXPECT_EQ(effect.depthSetting(), c.depth) << c.value;
        EXPECT_EQ(display(effect, 3), c.text) << c.value;
        EXPECT_NEAR(effect.getParameter(3), c.readBack, 1e-7) << c.value;
    }
    // Conversions that would be undefined are saturated; NaN disables filtering.
    EXPECT_EQ(FilterEffect::depthFromValue(std::numeric_limits<float>::infinity()), 2147483647);
    EXPECT_EQ(FilterEffect::depthFromValue(-3e38f), -2147483647 - 1);
    EXPECT_EQ(FilterEffect::depthFromValue(std::nanf("")), -1);
}

TEST(FilterEffect, SettingDepthRedesignsAtOnceWithThatDepthsQ)
{
    FilterEffect effect(nullptr);
    EXPECT_EQ(effect.cutoffFrequency(), 0.0f); // nothing designed before processing
    const float expected[] = {5.0f * 0.01f + 0.5f, 2.5f * 0.01f + 0.5f, 1.5f * 0.01f + 0.5f};
    for (int d = 0; d < 3; ++d) {
        effect.setParameter(FilterEffect::kDepth, d * 0.5f);
        EXPECT_FLOAT_EQ(effect.quality(), expected[d]) << d;
        EXPECT_FLOAT_EQ(effect.cutoffFrequency(), 240.0f); // smoothed cutoff 0.1
    }
    effect.setParameter(FilterEffect::kDepth, 1.04f);
    EXPECT_FLOAT_EQ(effect.quality(), expected[2]); // unchanged outside 0..2
}

TEST(FilterEffect, SweepsFromItsStartValuesToTheTargets)
{
    FilterEffect effect(nullptr);
    run(effect, 5870, 0.0f);
    EXPECT_LT(effect.smoothedResonance(), 0.5f);
    run(effect, 20, 0.0f);
    EXPECT_EQ(effect.smoothedResonance(), 0.5f);
    EXPECT_NEAR(effect.quality(), 1.125f, 1e-6);
    run(effect, 10270 - 5890, 0.0f);
    EXPECT_LT(effect.smoothedCutoff(), 0.8f);
    run(effect, 40, 0.0f);
    EXPECT_EQ(effect.smoothedCutoff(), 0.8f);
    EXPECT_NEAR(effect.cutoffFrequency(), 12840.0f, 0.01f);
}

TEST(FilterEffect, ClampsTheCutoffAtFortyNinePercentOfTheRate)
{
    for (float rate : {32000.0f, 44100.0f}) {
        FilterEffect effect(nullptr);
        effect.setSampleRate(rate);
        effect.setParameter(FilterEffect::kCutoff, 1.0f);
        run(effect, static_cast<int>(rate), 0.0f);
        EXPECT_FLOAT_EQ(effect.cutoffFrequency(), 20040.0f);
        const double limit = rate == 32000.0f ? 15680.0 : 20040.0;
        EXPECT_NEAR(effect.cascade().clampedCutoff(), limit, 0.001) << rate;
    }
}

TEST(FilterEffect, ClipsAfterPreGainWhenDepthBypassesTheFilter)
{
    FilterEffect effect(nullptr);
    effect.setParameter(FilterEffect::kDepth, 1.04f); // depth 3: no stages
    const float in[] = {0.5f, 0.9f, 1.0f, 2.9f, 10.0f, -2.0f};
    const float out[] = {0.5f, 0.9f, 0.905f, 1.0f, 1.0f, -0.955f};
    for (int i = 0; i < 6; ++i)
        EXPECT_FLOAT_EQ(run(effect, 4, in[i])[3], out[i]) << in[i];
    effect.setParameter(FilterEffect::kPostGain, 0.5f); // post-gain after the clipper
    run(effect, 44100, 10.0f);
    EXPECT_FLOAT_EQ(run(effect, 4, 10.0f)[3], 0.5f);
}

TEST(FilterEffect, GainsGlideAtThreeOverTheRateAndStop)
{
    FilterEffect effect(nullptr);
    effect.setSampleRate(30000.0f);
    effect.setParameter(FilterEffect::kDepth, 1.04f);
    effect.setParameter(FilterEffect::kPreGain, 0.2f);
    std::vector<float> out = run(effect, 1000, 0.5f);
    // Output 0.5 x 4 x preGain: falls 2 x 1e-4 per sample over 500 samples.
    EXPECT_NEAR(out[0], 2.0f * (0.25f - 1e-4f), 1e-5);
    EXPECT_NEAR(out[249], 2.0f * (0.25f - 250e-4f), 1e-4);
    EXPECT_NEAR(out[480], 2.0f * 0.2f, 1e-2);
    EXPECT_FLOAT_EQ(out[999], 0.4f);
    EXPECT_EQ(effect.smoothedPreGain(), 0.2f);
}

TEST(FilterEffect, NonFiniteParametersKeepTheOutputFinite)
{
    FilterEffect effect(nullptr);
    const float nan = std::nanf(""), inf = std::numeric_limits<float>::infinity();
    for (int i = 0; i < 5; ++i) {
        effect.setParameter(i, i % 2 ? nan : inf);
        for (float x : run(effect, 256, 0.3f))
            ASSERT_TRUE(std::isfinite(x)) << "parameter " << i;
        char text[64];
        effect.getParameterDisplay(i, text);
        EXPECT_LT(std::string(text).size(), 16u);
        effect.setParameter(i, i == 3 ? 0.5f : 0.3f);
    }
}

// Whole blocks, where the parameters glide, settle part way through a block,
// glide again after a host change and switch depth, give what the chain
// computes sample by sample from the smoothed values: pre-gain x 4, the
// stages of the current design, the clipper, then the post-gain. The
// reference follows a twin effect run one sample at a time.
TEST(FilterEffect, BlocksMatchTheChainSampleBySample)
{
    DenormalGuard guard; // as inside the plug-in's processing entries
    FilterEffect effect(nullptr), twin(nullptr);
    LowPassCascade chain(0.49f);
    auto setBoth = [&](int index, float value) {
        effect.setParameter(index, value);
        twin.setParameter(index, value);
    };
    setBoth(FilterEffect::kCutoff, 0.12f);    // about 300 samples of glide
    setBoth(FilterEffect::kResonance, 0.13f); // about 440
    setBoth(FilterEffect::kPreGain, 0.4f);    // about 2200
    setBoth(FilterEffect::kPostGain, 0.9f);   // about 1500

    uint32_t seed = 3;
    int n = 0;
    for (int block = 0; block < 16; ++block) {
        if (block == 7)
            setBoth(FilterEffect::kCutoff, 0.2f);
        if (block == 9)
            setBoth(FilterEffect::kDepth, 0.8f);
        if (block == 12)
            setBoth(FilterEffect::kDepth, 1.5f); // no stages
        const int frames = 512;
        std::vector<float> left(frames), right(frames);
        for (int i = 0; i < frames; ++i) {
            seed = seed * 1664525u + 1013904223u;
            left[i] = 2.0f * (static_cast<float>(seed >> 8) / 16777216.0f - 0.5f);
            right[i] = -0.5f * left[i];
        }
        std::vector<float> inL = left, inR = right;
        float* outs[] = {left.data(), right.data()};
        effect.processReplacing(outs, outs, frames);
        for (int i = 0; i < frames; ++i, ++n) {
            float oneL = inL[i], oneR = inR[i];
            float* one[] = {&oneL, &oneR};
            twin.processReplacing(one, one, 1);
            chain.designLowPass(twin.cutoffFrequency(), twin.quality(), 44100.0f);
            float l = twin.smoothedPreGain() * 4.0f * inL[i];
            float r = twin.smoothedPreGain() * 4.0f * inR[i];
            const int d = twin.depthSetting();
            chain.runStereo(d >= 0 && d <= 2 ? d + 1 : 0, l, r, false);
            l = SoftClipper::curve(l) * twin.smoothedPostGain();
            r = SoftClipper::curve(r) * twin.smoothedPostGain();
            ASSERT_EQ(left[i], l) << "sample " << n;
            ASSERT_EQ(right[i], r) << "sample " << n;
        }
    }
    EXPECT_EQ(effect.smoothedCutoff(), 0.2f);
    EXPECT_EQ(effect.smoothedPreGain(), 0.4f);
}
