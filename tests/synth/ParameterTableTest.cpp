// The parameter table on a bare Patch: mappings, displays, names and the
// guards for values and records from outside.
#include "ParameterTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {
Patch freshPatch()
{
    Patch patch;
    newPatch(patch);
    return patch;
}

void store(Patch& patch, int index, float value)
{
    storeParameter(patch, *findParameter(index), value);
}

float read(const Patch& patch, int index)
{
    return readParameter(patch, *findParameter(index));
}

std::string display(const Patch& patch, int index)
{
    char text[64];
    std::memset(text, 'x', sizeof text);
    formatParameterValue(patch, *findParameter(index), text, 16);
    return text;
}
} // namespace

TEST(ParameterTable, TruncatesTheUnroundedProduct)
{
    Patch p = freshPatch();
    store(p, 0, 0.29f); // 28.999999..., 29 if rounded to single precision first
    EXPECT_EQ(p.volumeHome, 28);
    store(p, 2, 0.57f);
    EXPECT_EQ(p.resonanceHome, 56);
    EXPECT_EQ(display(p, 2), "56");
    store(p, 4, 1.0f);
    EXPECT_EQ(p.volumeRange, 100);
}

TEST(ParameterTable, IntegerMappingsReachTheirLimits)
{
    Patch p = freshPatch();
    store(p, 1, 0.0f);
    EXPECT_EQ(p.panHome, -100);
    store(p, 1, 1.0f);
    EXPECT_EQ(p.panHome, 100);
    EXPECT_EQ(read(p, 1), 1.0f);
    store(p, 1, 0.5f);
    EXPECT_EQ(p.panHome, 0);
    EXPECT_EQ(read(p, 1), 0.5f);

    store(p, 19, 0.0f);
    EXPECT_EQ(p.oscillatorCount, 1);
    EXPECT_EQ(read(p, 19), 0.0f);
    store(p, 19, 1.0f);
    EXPECT_EQ(p.oscillatorCount, 64);
    EXPECT_NEAR(read(p, 19), 1.0f, 1e-6f);

    store(p, 20, 0.0f);
    EXPECT_EQ(p.portamentoTime, 1);
    EXPECT_EQ(display(p, 20), "1");
    EXPECT_STREQ(findParameter(20)->label, " msec");
    store(p, 20, 1.0f);
    EXPECT_EQ(p.portamentoTime, 1000);

    store(p, 21, 1.0f);
    EXPECT_EQ(p.seed, 134217728);
    EXPECT_EQ(display(p, 21), "134217728");
    EXPECT_NEAR(read(p, 21), 1.0f, 1e-6f);

    store(p, 27, 1.0f);
    EXPECT_EQ(p.envelopes[kPitchEnv].range, 24);
    store(p, 43, 1.0f);
    EXPECT_EQ(p.envelopes[kResonanceEnv].range, 50);
    store(p, 35, 1.0f);
    EXPECT_EQ(p.envelopes[kPanEnv].range, 100);
}

TEST(ParameterTable, TimesSpanATenthOfAMillisecondToTenSeconds)
{
    Patch p = freshPatch();
    store(p, 22, 0.0f);
    EXPECT_EQ(p.envelopes[kVolumeEnv].attackTime, 0.0001f);
    EXPECT_EQ(display(p, 22), "0.1");
    EXPECT_EQ(read(p, 22), 0.0f);

    store(p, 99, 1.0f);
    EXPECT_EQ(p.envelopes[kSpeedEnv].releaseTime, 9.9999f);
    EXPECT_EQ(display(p, 99), "9999.9");
    EXPECT_NEAR(read(p, 99), 1.0f, 1e-6f);

    // Reading back inverts the quadratic.
    store(p, 57, 0.3f);
    EXPECT_NEAR(read(p, 57), 0.3f, 1e-6f);

    p.envelopes[kPanEnv].attackTime = 0.1f;
    EXPECT_EQ(display(p, 37), "100");
    p.envelopes[kPanEnv].attackTime = 0.00125f;
    EXPECT_EQ(display(p, 37), "1.25");
    p.envelopes[kPanEnv].attackTime = 0.0f;
    EXPECT_EQ(display(p, 37), "0");
}

TEST(ParameterTable, LevelsAreStoredAsGivenAndShownInPercent)
{
    Patch p = freshPatch();
    store(p, 25, 0.29f);
    EXPECT_EQ(p.envelopes[kVolumeEnv].sustainLevel, 0.29f);
    EXPECT_EQ(read(p, 25), 0.29f);
    EXPECT_EQ(display(p, 25), "28");
    store(p, 34, 1.0f);
    EXPECT_EQ(display(p, 34), "100");
    store(p, 94, 0.5f);
    EXPECT_EQ(p.envelopes[kSpeedEnv].pointLevel[0], 0.5f);
}

TEST(ParameterTable, AttackLevelFollowsTheEnvelopesOwnPointCount)
{
    Patch p = freshPatch();
    p.envelopes[kPitchEnv].pointCount = 3;
    store(p, 30, 0.75f);
    EXPECT_EQ(p.envelopes[kPitchEnv].pointLevel[2], 0.75f);
    EXPECT_EQ(p.envelopes[kPitchEnv].pointLevel[1], 0.5f);
    EXPECT_EQ(read(p, 30), 0.75f);

    // Counts from outside the valid range address the nearest valid point
    // and stay as stored.
    p.envelopes[kPitchEnv].pointCount = 1000;
    store(p, 30, 0.25f);
    EXPECT_EQ(p.envelopes[kPitchEnv].pointLevel[9], 0.25f);
    EXPECT_EQ(p.envelopes[kPitchEnv].pointCount, 1000);
    p.envelopes[kPitchEnv].pointCount = -7;
    store(p, 30, 0.125f);
    EXPECT_EQ(p.envelopes[kPitchEnv].pointLevel[1], 0.125f);
    EXPECT_EQ(p.envelopes[kPitchEnv].pointCount, -7);
}

TEST(ParameterTable, BlankDisplaysForFilterAndOverdrive)
{
    Patch p = freshPatch();
    for (int index : {16, 17, 18}) {
        EXPECT_EQ(display(p, index), "") << index;
        EXPECT_STREQ(findParameter(index)->label, "") << index;
    }
    EXPECT_EQ(findParameter(0)->display, ParameterDisplay::Decibel);
    EXPECT_STREQ(findParameter(0)->label, " dB");
    p.volumeHome = 100;
    EXPECT_EQ(decibelGain(p, *findParameter(0)), 1.0f);
}

TEST(ParameterTable, ValuesOutsideTheRangeSaturateInsteadOfOverflowing)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    Patch p = freshPatch();
    store(p, 0, nan);
    EXPECT_EQ(p.volumeHome, 0);
    store(p, 0, inf);
    EXPECT_EQ(p.volumeHome, INT32_MAX);
    store(p, 0, -inf);
    EXPECT_EQ(p.volumeHome, INT32_MIN);
    store(p, 19, -1e30f); // 1 - truncate(+huge)
    EXPECT_EQ(p.oscillatorCount, INT32_MIN);
    store(p, 21, 2.0f); // no clamping inside the int32 range
    EXPECT_EQ(p.seed, 268435456);
    store(p, 1, -1.0f);
    EXPECT_EQ(p.panHome, -300);

    for (int index = 0; index < kParameterCount; ++index) {
        for (float v : {nan, inf, -inf, 1e30f, -1e30f, 3.0f, -2.0f}) {
            store(p, index, v);
            float back = read(p, index);
            EXPECT_TRUE(std::isfinite(back)) << index << " " << v;
            std::string text = display(p, index);
            EXPECT_LT(text.size(), 16u) << index;
        }
    }
    EXPECT_EQ(saturatingTruncate(-0.9), 0);
    EXPECT_EQ(saturatingTruncate(2147483646.5), 2147483646);
}

TEST(ParameterTable, UnknownIndicesHaveNoRow)
{
    EXPECT_EQ(findParameter(-1), nullptr);
    EXPECT_EQ(findParameter(101), nullptr);
    EXPECT_EQ(findParameter(INT32_MIN), nullptr);
    EXPECT_NE(findParameter(100), nullptr);
}

// The short names of the envelope rows are an envelope tag and a stage tag;
// both must agree with the field the row addresses.
TEST(ParameterTable, EnvelopeNamesMatchTheirFields)
{
    static const char* const envelopeTags[kEnvelopeCount] = {
        "Vl", "Pt", "Pn", "Rs", "Ns", "VlVr", "PtVr", "PnVr", "RsVr", "NsVr", "Spd"};
    static const struct {
        EnvelopeStage stage;
        const char* tag;
        const char* longTail;
    } stages[] = {{EnvelopeStage::Range, "Env Rg", "range"},
                  {EnvelopeStage::InitialLevel, "Ini Lv", "initial level"},
                  {EnvelopeStage::AttackTime, "Atk Tm", "attack time"},
                  {EnvelopeStage::AttackLevel, "Atk Lv", "attack level"},
                  {EnvelopeStage::DecayTime, "Dec Tm", "decay time"},
                  {EnvelopeStage::DecayLevel, "Dec Lv", "decay level"},
                  {EnvelopeStage::ReleaseTime, "Rel Tm", "release time"},
                  {EnvelopeStage::ReleaseLevel, "Rel Lv", "release level"}};
    int envelopeRows = 0;
    for (int index = 0; index < kParameterCount; ++index) {
        const ParameterInfo& info = *findParameter(index);
        EXPECT_LE(std::strlen(info.shortName), 11u) << index;
        EXPECT_LE(std::strlen(info.longName), 38u) << index;
        if (index <= 21) {
            EXPECT_NE(info.field.scalar, nullptr) << index;
            continue;
        }
        ++envelopeRows;
        ASSERT_EQ(info.field.scalar, nullptr) << index;
        ASSERT_GE(info.field.envelope, 0);
        ASSERT_LT(info.field.envelope, kEnvelopeCount);
        const std::string shortName = info.shortName;
        const std::string longName = info.longName;
        const std::string envTag = envelopeTags[info.field.envelope];
        EXPECT_EQ(shortName.compare(0, envTag.size() + 1, envTag + " "), 0) << index;
        bool matched = false;
        for (const auto& s : stages) {
            if (s.stage != info.field.stage)
                continue;
            matched = true;
            EXPECT_EQ(shortName.substr(envTag.size() + 1), s.tag) << index;
            EXPECT_EQ(longName.substr(longName.size() - std::strlen(s.longTail)), s.longTail)
                << index;
            const bool timed = s.stage == EnvelopeStage::AttackTime ||
                               s.stage == EnvelopeStage::DecayTime ||
                               s.stage == EnvelopeStage::ReleaseTime;
            EXPECT_EQ(info.mapping == ParameterMapping::Time, timed) << index;
            const bool semitones =
                s.stage == EnvelopeStage::Range && info.field.envelope == kPitchEnv;
            const char* label = timed ? " msec" : (semitones ? " s/tone" : " %");
            EXPECT_STREQ(info.label, label) << index;
            // Initial levels only store; every other envelope row calls a hook.
            EXPECT_EQ(info.change == ParameterChange::Envelope,
                      s.stage != EnvelopeStage::InitialLevel)
                << index;
        }
        EXPECT_TRUE(matched) << index;
    }
    EXPECT_EQ(envelopeRows, 79);
}
