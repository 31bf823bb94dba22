// The MIDI controller map dialog's rules: line texts, the pop-up's positions
// for map entries, and the pitch-bend box's reading of typed text.
#include "MidiMapRules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {
std::string line(int32_t controller, int32_t entry, const char* name = "Volume home position")
{
    char text[MidiMapRules::kLineSize];
    MidiMapRules::lineText(text, sizeof text, controller, entry, name);
    return text;
}
} // namespace

TEST(MidiMapRules, LinesShowTheControllerAndItsParameterOnly)
{
    EXPECT_EQ(line(7, 0), "        7       ->        Volume home position");
    EXPECT_EQ(line(2, -1), "        2");
    EXPECT_EQ(line(119, 100, "Speed envelope release level"),
              "        119       ->        Speed envelope release level");
    // Entries a record from outside may hold show no parameter.
    EXPECT_EQ(line(3, 101), "        3");
    EXPECT_EQ(line(3, -2), "        3");
    EXPECT_EQ(line(3, 5, nullptr), "        3");
    // The longest line fits; a small buffer truncates and stays terminated.
    const std::string longest = line(119, 0, "12345678901234567890123456789012345678");
    EXPECT_EQ(longest.size(), 8u + 3u + 17u + 38u);
    char small[6];
    MidiMapRules::lineText(small, sizeof small, 7, 0, "x");
    EXPECT_STREQ(small, "     ");
    MidiMapRules::lineText(nullptr, 10, 7, 0, "x"); // no crash
}

TEST(MidiMapRules, PopupPositionsStandForEntries)
{
    EXPECT_EQ(MidiMapRules::popupPositionOf(-1), 0);
    EXPECT_EQ(MidiMapRules::popupPositionOf(0), 2);
    EXPECT_EQ(MidiMapRules::popupPositionOf(100), 102);
    EXPECT_EQ(MidiMapRules::popupPositionOf(101), 0);
    EXPECT_EQ(MidiMapRules::popupPositionOf(-7), 0);

    int32_t entry = 55;
    ASSERT_TRUE(MidiMapRules::entryForPopupPosition(0, entry));
    EXPECT_EQ(entry, -1);
    ASSERT_TRUE(MidiMapRules::entryForPopupPosition(102, entry));
    EXPECT_EQ(entry, 100);
    ASSERT_TRUE(MidiMapRules::entryForPopupPosition(2, entry));
    EXPECT_EQ(entry, 0);
    entry = 55;
    for (int32_t position : {-1, 1, 103, 1000})
        EXPECT_FALSE(MidiMapRules::entryForPopupPosition(position, entry)) << position;
    EXPECT_EQ(entry, 55);
    for (int32_t e = -1; e <= 100; ++e) {
        int32_t back = 1000;
        ASSERT_TRUE(MidiMapRules::entryForPopupPosition(MidiMapRules::popupPositionOf(e), back));
        EXPECT_EQ(back, e);
    }
}

TEST(MidiMapRules, PitchBendTextReadsLikeTheCLibraryAndIsLimited)
{
    struct Case {
        const char* text;
        int32_t semitones;
    } cases[] = {
        {"2", 2},
        {"30", 24},
        {"24", 24},
        {"-3", 0},
        {"abc", 0},
        {"", 0},
        {"  12", 12},
        {"\t+7", 7},
        {"7x9", 7},
        {"1 2", 1},
        {"- 5", 0},
        {"0012", 12},
        {"+", 0},
        {"-0", 0},
        {"25", 24},
        {"3.9", 3},
        {"0x10", 0},
        {"99999999999999999999", 24},
        {"-99999999999999999999", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MidiMapRules::parsePitchBendRange(c.text), c.semitones) << '"' << c.text << '"';
    EXPECT_EQ(MidiMapRules::parsePitchBendRange(nullptr), 0);
}
