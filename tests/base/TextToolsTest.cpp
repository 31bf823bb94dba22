// The base's eight-character number renderings, which every parameter
// display of both plug-ins is built on.
#include "AudioEffectX.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {
class TextEffect : public AudioEffectX {
public:
    TextEffect() : AudioEffectX(nullptr, 1, 1) {}
    void process(float**, float**, VstInt32) override {}
};

std::string f2s(float v)
{
    TextEffect e;
    char text[32];
    std::memset(text, 'x', sizeof text);
    e.float2string(v, text);
    return text;
}

std::string l2s(VstInt32 v)
{
    TextEffect e;
    char text[32];
    e.long2string(v, text);
    return text;
}

std::string db2s(float v)
{
    TextEffect e;
    char text[32];
    e.dB2string(v, text);
    return text;
}
} // namespace

TEST(TextTools, FloatRendersEightCharacters)
{
    EXPECT_EQ(f2s(1.5f), "1.500000");
    EXPECT_EQ(f2s(-3.25f), "-3.25000");
    EXPECT_EQ(f2s(0.0f), "0.000000");
    EXPECT_EQ(f2s(100.0f), "100.0000");
    EXPECT_EQ(f2s(-0.5f), "-0.50000");
    EXPECT_EQ(f2s(1234567.0f), "1234567.");
    EXPECT_EQ(f2s(9999999.0f), "9999999.");
}

TEST(TextTools, FloatKeepsLeastSignificantIntegerDigits)
{
    EXPECT_EQ(f2s(12345678.0f), "2345678.");
    EXPECT_EQ(f2s(87654320.0f), "7654320.");
    EXPECT_EQ(f2s(-1234567.0f), "-234567.");
}

TEST(TextTools, FloatOutOfRangeIsHuge)
{
    EXPECT_EQ(f2s(100000000.0f), " Huge!  ");
    EXPECT_EQ(f2s(-10000000.0f), " Huge!  ");
    EXPECT_EQ(f2s(std::numeric_limits<float>::infinity()), " Huge!  ");
    EXPECT_EQ(f2s(-std::numeric_limits<float>::infinity()), " Huge!  ");
    EXPECT_EQ(f2s(1e30f), " Huge!  ");
    // Not a number gets a readable text rather than garbage digits.
    EXPECT_EQ(f2s(std::nanf("")).size(), 8u);
}

TEST(TextTools, FloatHandlesTinyAndDenormalValues)
{
    EXPECT_EQ(f2s(1e-30f), "0.000000");
    EXPECT_EQ(f2s(std::numeric_limits<float>::denorm_min()), "0.000000");
    EXPECT_EQ(f2s(-1e-30f), "-0.00000");
}

TEST(TextTools, LongRightAlignsInSevenCharacters)
{
    EXPECT_EQ(l2s(42), "     42");
    EXPECT_EQ(l2s(0), "      0");
    EXPECT_EQ(l2s(-7), "     -7");
    EXPECT_EQ(l2s(99999999), "99999999");
    EXPECT_EQ(l2s(100000000), " Huge!  ");
    EXPECT_EQ(l2s(-2000000000), "-2000000"); // cut to eight characters
}

TEST(TextTools, DecibelsOfGain)
{
    EXPECT_EQ(db2s(0.0f), "  -oo   ");
    EXPECT_EQ(db2s(-1.0f), "  -oo   ");
    EXPECT_EQ(db2s(1.0f), "0.000000");
    EXPECT_EQ(db2s(10.0f), "20.00000");
    EXPECT_EQ(db2s(0.1f), "-20.0000");
    EXPECT_EQ(db2s(0.5f), "-6.02059"); // digits are truncated, not rounded
}

TEST(TextTools, HertzAndMillisecondsUseTheSampleRate)
{
    TextEffect e;
    char text[32];
    e.Hz2string(0.0f, text);
    EXPECT_STREQ(text, "0.000000");
    e.Hz2string(100.0f, text);
    EXPECT_STREQ(text, "441.0000");
    e.ms2string(441.0f, text);
    EXPECT_STREQ(text, "10.00000");
    e.setSampleRate(48000.0f);
    e.ms2string(48.0f, text);
    EXPECT_STREQ(text, "1.000000");
}
