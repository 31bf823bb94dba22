// The program record's defaults and its small operations.
#include "Patch.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

TEST(Patch, NewPatchDefaults)
{
    Patch p;
    std::memset(&p, 0xCD, sizeof p);
    newPatch(p);
    EXPECT_STREQ(p.name, "new patch");
    EXPECT_EQ(p.oscillatorCount, 8);
    EXPECT_EQ(p.volumeHome, 100);
    EXPECT_EQ(p.pitchBendRange, 2);
    const int32_t axes[] = {2, 1, 0, 3, 4};
    EXPECT_EQ(std::memcmp(p.axisOrder, axes, sizeof axes), 0);
    EXPECT_EQ(mappedParameter(p, 7), 0);
    EXPECT_EQ(mappedParameter(p, 2), -1);
    EXPECT_EQ(mappedParameter(p, 7 + 128), 0); // controller byte taken AND 127
    EXPECT_GE(p.seed, 0);
    EXPECT_LE(p.seed, 32767);
    EXPECT_EQ(p.reserved1[0] | p.reserved1[1] | p.reserved2 | p.reserved5[2], 0);
    EXPECT_EQ(p.envelopes[kVolumeEnv].pointLevel[0], 0.0f);
    EXPECT_EQ(p.envelopes[kVolumeEnv].pointLevel[1], 1.0f);
    EXPECT_EQ(p.envelopes[kPanEnv].sustainLevel, 0.5f);
    EXPECT_EQ(p.envelopes[kSpeedEnv].releaseLevel, 1.0f);
}

TEST(Patch, AxisOrderIsResetOnlyWhenNotAPermutation)
{
    Patch p;
    newPatch(p);
    const int32_t reversed[] = {4, 3, 2, 1, 0};
    std::memcpy(p.axisOrder, reversed, sizeof reversed);
    validateAxisOrder(p);
    EXPECT_EQ(std::memcmp(p.axisOrder, reversed, sizeof reversed), 0);
    const int32_t defaults[] = {2, 1, 0, 3, 4};
    for (const auto& bad :
         {std::array<int32_t, 5>{0, 1, 1, 3, 4}, std::array<int32_t, 5>{0, 1, 2, 3, 5},
          std::array<int32_t, 5>{-1, 1, 2, 3, 4}}) {
        std::memcpy(p.axisOrder, bad.data(), sizeof reversed);
        validateAxisOrder(p);
        EXPECT_EQ(std::memcmp(p.axisOrder, defaults, sizeof defaults), 0);
    }
}

TEST(Patch, ResetEnvelopeShapes)
{
    PatchEnvelope e;
    std::memset(&e, 0, sizeof e);
    e.pointLevel[0] = 0.3f;
    e.releaseLevel = 0.4f;
    resetEnvelope(e, false, true);
    EXPECT_EQ(e.pointLevel[0], 0.3f); // volume keeps its initial and release levels
    EXPECT_EQ(e.releaseLevel, 0.4f);
    EXPECT_EQ(e.sustainLevel, 0.5f);
    resetEnvelope(e, false, false);
    for (float level : {e.pointLevel[0], e.pointLevel[1], e.sustainLevel, e.releaseLevel})
        EXPECT_EQ(level, 1.0f);
    EXPECT_EQ(e.attackTime, 0.1f);
    EXPECT_EQ(e.decayTime, 0.5f);
    EXPECT_EQ(e.releaseTime, 0.2f);
    EXPECT_EQ(e.pointCount, 2);
    e.pointCount = 0;
    EXPECT_EQ(safePointCount(e), 2);
    e.pointCount = 1000;
    EXPECT_EQ(safePointCount(e), 10);
}

TEST(Patch, FactoryMapLeavesPitchBendRangeAlone)
{
    Patch p;
    newPatch(p);
    p.pitchBendRange = 12;
    p.midiMap[2] = 50;
    p.midiMap[127] = 3;
    setMidiMapDefaults(p);
    EXPECT_EQ(p.pitchBendRange, 12);
    EXPECT_EQ(p.midiMap[2], -1);
    EXPECT_EQ(p.midiMap[127], -1);
    EXPECT_EQ(p.midiMap[26], 18);
    p.midiMap[9] = 5000;
    p.midiMap[8] = -9;
    EXPECT_EQ(mappedParameter(p, 9), -1);
    EXPECT_EQ(mappedParameter(p, 8), -1);
}
