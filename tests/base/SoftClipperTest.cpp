#include "SoftClipper.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

TEST(SoftClipper, LeavesTheLinearRangeAlone)
{
    for (float x : {0.0f, 0.5f, -0.5f, 0.9f, -0.9f, 0.8999f, 1e-30f})
        EXPECT_EQ(SoftClipper::curve(x), x);
}

TEST(SoftClipper, CompressesPastTheKneeAndLimitsAtOne)
{
    EXPECT_NEAR(SoftClipper::curve(1.0f), 0.905f, 1e-6f);
    EXPECT_NEAR(SoftClipper::curve(-2.0f), -0.955f, 1e-6f);
    EXPECT_EQ(SoftClipper::curve(2.9f), 1.0f);
    EXPECT_EQ(SoftClipper::curve(10.0f), 1.0f);
    EXPECT_EQ(SoftClipper::curve(-10.0f), -1.0f);
    EXPECT_EQ(SoftClipper::curve(INFINITY), 1.0f);
    EXPECT_EQ(SoftClipper::curve(-INFINITY), -1.0f);
}

TEST(SoftClipper, IsMonotonicAndBounded)
{
    float previous = SoftClipper::curve(-20.0f);
    for (int i = -20000; i <= 20000; ++i) {
        float y = SoftClipper::curve(i * 0.001f);
        EXPECT_GE(y, previous);
        EXPECT_LE(std::fabs(y), 1.0f);
        previous = y;
    }
}

TEST(SoftClipper, AppliesTheReferencedDriveGainFirst)
{
    float drive = 1.2f;
    SoftClipper clipper(drive);
    EXPECT_NEAR(clipper.shape(0.8f), 0.903f, 1e-6f); // 0.96 lies beyond the knee
    drive = 1.0f; // the engine smooths the gain; the clipper reads it live
    EXPECT_EQ(clipper.shape(0.8f), 0.8f);
    SoftClipper plain;
    EXPECT_EQ(plain.shape(0.8f), 0.8f);
}

// The block form gives curve(x) x scale bit for bit: across the knee, at the
// limit, for signed zeros, infinities and NaN, and in the tail that is
// shorter than a vector.
TEST(SoftClipper, BlockFormMatchesTheCurveBitForBit)
{
    std::vector<float> inputs = {0.0f,        -0.0f,     0.9f,          -0.9f, 0.90000004f,
                                 -0.9000001f, 2.9f,      2.9000001f,    -3.0f, 1e-30f,
                                 INFINITY,    -INFINITY, std::nanf(""), 1e38f, -1e38f};
    for (int i = -3000; i <= 3000; ++i)
        inputs.push_back(i * 0.00137f);
    for (float scale : {1.0f, 0.25f, -2.0f}) {
        for (size_t frames : {inputs.size(), size_t(3), size_t(5), size_t(0)}) {
            std::vector<float> block(inputs.begin(), inputs.begin() + frames);
            SoftClipper::curveBlock(block.data(), static_cast<int32_t>(frames), scale);
            for (size_t i = 0; i < frames; ++i) {
                const float expected = SoftClipper::curve(inputs[i]) * scale;
                uint32_t a, b;
                std::memcpy(&a, &block[i], 4);
                std::memcpy(&b, &expected, 4);
                if (std::isnan(expected))
                    EXPECT_TRUE(std::isnan(block[i])) << inputs[i];
                else
                    EXPECT_EQ(a, b) << inputs[i] << " x " << scale;
            }
        }
    }
}
