// Knob geometry and value texts: where the dot sits, how a drag moves the
// value, and what the value box shows and reads.
#include "KnobGeometry.h"
#include "ValueText.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

namespace {
std::string knobText(int32_t format, int32_t scale, int32_t decimals, int32_t value)
{
    char text[32];
    ValueText::formatKnob(text, sizeof text, format, scale, decimals, value);
    return text;
}

std::string milliseconds(float seconds)
{
    char text[64];
    ValueText::formatMilliseconds(text, sizeof text, seconds);
    return text;
}

TEST(KnobGeometry, RectanglesOfALargeAndASmallKnob)
{
    const Rect dial = KnobGeometry::dialRect(45, 52);
    EXPECT_EQ(dial.left, 10);
    EXPECT_EQ(dial.top, 16);
    EXPECT_EQ(dial.right, 34);
    EXPECT_EQ(dial.bottom, 40);
    EXPECT_EQ(KnobGeometry::dialRect(38, 47).left, 7);
    EXPECT_EQ(KnobGeometry::valueRect(45, 52).top, 39);
    EXPECT_EQ(KnobGeometry::captionRect(45, 52).bottom, 13);
    const Rect edit = KnobGeometry::valueEditRect(45, 52);
    EXPECT_EQ(edit.left, 7);
    EXPECT_EQ(edit.top, 38);
    EXPECT_EQ(edit.right, 38);
    EXPECT_EQ(edit.bottom, 54);
}

TEST(KnobGeometry, DotSweepsClockwiseFromLowerLeftToLowerRightOnRadiusTwelve)
{
    const Rect dial = KnobGeometry::dialRect(45, 52); // centre (22, 28)
    const Point atMin = KnobGeometry::dotCentre(dial, 0, 0, 100);
    const Point atMid = KnobGeometry::dotCentre(dial, 50, 0, 100);
    const Point atMax = KnobGeometry::dotCentre(dial, 100, 0, 100);
    EXPECT_LT(atMin.x, 22);
    EXPECT_GT(atMin.y, 28);
    EXPECT_EQ(atMid.x, 22);
    EXPECT_EQ(atMid.y, 16);
    EXPECT_GT(atMax.x, 22);
    EXPECT_GT(atMax.y, 28);
    EXPECT_EQ(atMin.y, atMax.y); // symmetric about the vertical
    EXPECT_EQ(22 - atMin.x, atMax.x - 22);
    // Every value lies on the circle (within the truncation of each axis).
    for (int v = -100; v <= 100; ++v) {
        const Point p = KnobGeometry::dotCentre(dial, v, -100, 100);
        const double r = std::hypot(p.x - 22.0, p.y - 28.0);
        EXPECT_NEAR(r, 12.0, 1.5) << "value " << v;
    }
    // A knob whose range is empty shows the dot at its start.
    const Point empty = KnobGeometry::dotCentre(dial, 5, 5, 5);
    EXPECT_EQ(empty.x, atMin.x);
    EXPECT_EQ(empty.y, atMin.y);
}

TEST(KnobGeometry, OneHundredFiftyPixelsCoverTheWholeRange)
{
    EXPECT_EQ(KnobGeometry::dragValue(0, 200, 125, 0, 100), 50); // 75 px up
    EXPECT_EQ(KnobGeometry::dragValue(0, 200, 49, 0, 100), 100); // 151 px up
    EXPECT_EQ(KnobGeometry::dragValue(0, 200, -5000, 0, 100), 100);
    EXPECT_EQ(KnobGeometry::dragValue(100, 0, 75, 0, 100), 50); // down lowers it
    EXPECT_EQ(KnobGeometry::dragValue(30, 0, 400, 0, 100), 0);
    // Small ranges move in steps; the division truncates toward zero.
    EXPECT_EQ(KnobGeometry::dragValue(0, 0, -150, -24, 24), 24);
    EXPECT_EQ(KnobGeometry::dragValue(0, 0, -3, -24, 24), 0);
    EXPECT_EQ(KnobGeometry::dragValue(0, 0, 4, -24, 24), -1);
    // A value outside the range (from a chunk) comes back inside on the
    // first move.
    EXPECT_EQ(KnobGeometry::dragValue(500, 10, 9, 0, 100), 100);
    EXPECT_EQ(KnobGeometry::dragValue(INT_MIN, 0, -32768, INT_MIN, INT_MAX), INT_MAX);
}

TEST(ValueText, MasterKnobShowsDecibels)
{
    EXPECT_EQ(knobText(ValueText::kDecibel, 100, 2, 100), "0");
    EXPECT_EQ(knobText(ValueText::kDecibel, 100, 2, 50), "-6.02");
    EXPECT_EQ(knobText(ValueText::kDecibel, 100, 2, 0), "-oo");
    EXPECT_EQ(knobText(ValueText::kDecibel, 100, 2, -7), "-oo");
    EXPECT_EQ(knobText(ValueText::kDecibel, 100, 2, 200), "6.02");
    EXPECT_EQ(knobText(ValueText::kDecibel, 100, 2, 1), "-40");
}

TEST(ValueText, FixedPointDropsTrailingZeros)
{
    EXPECT_EQ(knobText(ValueText::kFixedPoint, 100, 2, -602), "-6.02");
    EXPECT_EQ(knobText(ValueText::kFixedPoint, 100, 2, -650), "-6.5");
    EXPECT_EQ(knobText(ValueText::kFixedPoint, 100, 2, 0), "0");
    EXPECT_EQ(knobText(ValueText::kFixedPoint, 100, 2, 1200), "12");
    EXPECT_EQ(knobText(ValueText::kFixedPoint, 10, 1, 7), "0.7");
    EXPECT_EQ(knobText(ValueText::kFixedPoint, 1000, 3, -5), "-0.005");
    EXPECT_EQ(knobText(ValueText::kFixedPoint, 10, 1, INT_MIN), "-214748364.8");
    EXPECT_EQ(knobText(ValueText::kInteger, 1, 0, -24), "-24");
    // A short buffer is cut, never overrun.
    char tiny[3];
    ValueText::formatKnob(tiny, sizeof tiny, ValueText::kInteger, 1, 0, 12345);
    EXPECT_STREQ(tiny, "12");
}

TEST(ValueText, KnobBoxReadsItsFormatAndStaysInRange)
{
    EXPECT_EQ(ValueText::parseKnob("-3", ValueText::kDecibel, 100, 0, 100, 0), 70);
    EXPECT_EQ(ValueText::parseKnob("6", ValueText::kDecibel, 100, 0, 100, 0), 100);
    EXPECT_EQ(ValueText::parseKnob("-1000", ValueText::kDecibel, 100, 0, 100, 50), 0);
    EXPECT_EQ(ValueText::parseKnob("010", ValueText::kInteger, 1, 0, 100, 0), 8);
    EXPECT_EQ(ValueText::parseKnob("0x1F", ValueText::kInteger, 1, 0, 100, 0), 31);
    EXPECT_EQ(ValueText::parseKnob(" 42%", ValueText::kInteger, 1, 0, 100, 0), 42);
    EXPECT_EQ(ValueText::parseKnob("-30", ValueText::kInteger, 1, -24, 24, 0), -24);
    EXPECT_EQ(ValueText::parseKnob("99999999999999999999", ValueText::kInteger, 1, 0, 100, 0), 100);
    EXPECT_EQ(ValueText::parseKnob("2.555", ValueText::kFixedPoint, 100, 0, 1000, 0), 255);
    EXPECT_EQ(ValueText::parseKnob("1e300", ValueText::kFixedPoint, 100, 0, 1000, 0), 1000);
    EXPECT_EQ(ValueText::parseKnob("inf", ValueText::kDecibel, 100, 0, 100, 3), 100);
    // Half-typed or foreign text keeps the value.
    EXPECT_EQ(ValueText::parseKnob("", ValueText::kInteger, 1, 0, 100, 37), 37);
    EXPECT_EQ(ValueText::parseKnob("-", ValueText::kInteger, 1, 0, 100, 37), 37);
    EXPECT_EQ(ValueText::parseKnob("dB", ValueText::kDecibel, 100, 0, 100, 37), 37);
    EXPECT_EQ(ValueText::parseKnob("nan", ValueText::kDecibel, 100, 0, 100, 37), 37);
    EXPECT_EQ(ValueText::parseKnob(nullptr, ValueText::kInteger, 1, 0, 100, 37), 37);
}

TEST(ValueText, MillisecondsAreTrimmed)
{
    EXPECT_EQ(milliseconds(0.1f), "100");
    EXPECT_EQ(milliseconds(0.0001f), "0.1");
    EXPECT_EQ(milliseconds(0.00125f), "1.25");
    EXPECT_EQ(milliseconds(9.9999f), "9999.9");
    EXPECT_EQ(milliseconds(0.0f), "0");
    EXPECT_GE(milliseconds(3.0e38f).size(), 40u); // every digit, no overrun
    EXPECT_EQ(milliseconds(INFINITY), "inf");
}

TEST(ValueText, TimeAndRangeBoxesAreLimited)
{
    EXPECT_EQ(ValueText::parseTimeBox("20000", 1.0f), 9.9999f);
    EXPECT_EQ(ValueText::parseTimeBox("0", 1.0f), 0.0001f);
    EXPECT_EQ(ValueText::parseTimeBox("-5", 1.0f), 0.0001f);
    EXPECT_FLOAT_EQ(ValueText::parseTimeBox("250", 1.0f), 0.25f);
    EXPECT_EQ(ValueText::parseTimeBox("abc", 0.5f), 0.5f);
    EXPECT_EQ(ValueText::parseTimeBox("nan", 0.5f), 0.5f);
    EXPECT_EQ(ValueText::parseRangeBox("30", 24, 3), 24);
    EXPECT_EQ(ValueText::parseRangeBox("-5", 24, 3), 0);
    EXPECT_EQ(ValueText::parseRangeBox("12", 50, 3), 12);
    EXPECT_EQ(ValueText::parseRangeBox("", 50, 3), 3);
}
} // namespace
