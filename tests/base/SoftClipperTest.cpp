#include "SoftClipper.h"

#include <gtest/gtest.h>

#include <cmath>

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
