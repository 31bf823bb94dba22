// The option dialogs' rules without windows: how typed text becomes a
// stored value (keystroke by keystroke, as the fields see it), the measure
// button's cycle, the enabled states, the order list's names and drags.
#include "OptionFields.h"
#include "OrderListDrag.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {
// What a field stores after each prefix of `typed`, starting from
// `stored`: the value kept after every keystroke.
std::vector<int32_t> typeInto(const std::string& typed, const OptionFields::Range& range,
                              int32_t stored)
{
    std::vector<int32_t> after;
    for (size_t n = 1; n <= typed.size(); ++n) {
        int32_t value;
        if (OptionFields::entryValue(typed.substr(0, n).c_str(), range, value))
            stored = value;
        after.push_back(stored);
    }
    return after;
}

std::string shown(int32_t value)
{
    char text[16];
    OptionFields::formatNumber(value, text, sizeof text);
    return text;
}

TEST(OptionFields, ReadsTextTheWayAtoiDoes)
{
    EXPECT_EQ(OptionFields::readNumber("120"), 120);
    EXPECT_EQ(OptionFields::readNumber("  42abc"), 42);
    EXPECT_EQ(OptionFields::readNumber("-5"), -5);
    EXPECT_EQ(OptionFields::readNumber("+7"), 7);
    EXPECT_EQ(OptionFields::readNumber("abc"), 0);
    EXPECT_EQ(OptionFields::readNumber(""), 0);
    EXPECT_EQ(OptionFields::readNumber("-"), 0);
    EXPECT_EQ(OptionFields::readNumber("1 2"), 1);
    EXPECT_EQ(OptionFields::readNumber(nullptr), 0);
}

TEST(OptionFields, LongDigitRowsSaturateInsteadOfWrapping)
{
    // 4294967297 would wrap to 1 in 32 bits.
    EXPECT_EQ(OptionFields::readNumber("4294967297"), INT_MAX);
    EXPECT_EQ(OptionFields::readNumber("-99999999999999999999999"), INT_MIN);
    EXPECT_EQ(OptionFields::readNumber(std::string(500, '9').c_str()), INT_MAX);
    int32_t seed = -1;
    ASSERT_TRUE(OptionFields::entryValue("99999999999", OptionFields::kSeed, seed));
    EXPECT_EQ(seed, 134217727);
}

TEST(OptionFields, OnlyTheFirst260CharactersAreRead)
{
    // 259 blanks and two digits: the second digit lies beyond what a field
    // hands over.
    const std::string text = std::string(259, ' ') + "12";
    EXPECT_EQ(OptionFields::readNumber(text.c_str()), 1);
}

TEST(OptionFields, BpmIsLimitedAsEachKeyIsTyped)
{
    // 300 stores 3 -> 30, 30, then 250.
    EXPECT_EQ(typeInto("300", OptionFields::kLocalBpm, 120), (std::vector<int32_t>{30, 30, 250}));
    // 12: 30 as soon as the 1 is typed, and 12 is still below the range.
    EXPECT_EQ(typeInto("12", OptionFields::kLocalBpm, 120), (std::vector<int32_t>{30, 30}));
    EXPECT_EQ(typeInto("140", OptionFields::kLocalBpm, 120), (std::vector<int32_t>{30, 30, 140}));
}

TEST(OptionFields, ZeroOrNoNumberKeepsTheStoredValueExceptForTheSeed)
{
    EXPECT_EQ(typeInto("0", OptionFields::kOscillators, 16), (std::vector<int32_t>{16}));
    EXPECT_EQ(typeInto("x", OptionFields::kPortamento, 50), (std::vector<int32_t>{50}));
    EXPECT_EQ(typeInto("00", OptionFields::kTrailLength, 8), (std::vector<int32_t>{8, 8}));
    // The seed: 0 is a value, and a negative entry stores 0.
    EXPECT_EQ(typeInto("0", OptionFields::kSeed, 1234), (std::vector<int32_t>{0}));
    EXPECT_EQ(typeInto("-5", OptionFields::kSeed, 1234), (std::vector<int32_t>{0, 0}));
    EXPECT_EQ(typeInto("999999999", OptionFields::kSeed, 0).back(), 134217727);
}

TEST(OptionFields, EveryFieldKeepsItsRange)
{
    struct Case {
        const OptionFields::Range& range;
        int32_t min, max;
    } cases[] = {
        {OptionFields::kLocalBpm, 30, 250},   {OptionFields::kOscillators, 1, 64},
        {OptionFields::kPortamento, 1, 1000}, {OptionFields::kRedistribution, 1, 4000},
        {OptionFields::kSmoothing, 1, 500},   {OptionFields::kSeed, 0, 134217727},
        {OptionFields::kTrailLength, 1, 20},  {OptionFields::kTrailWidth, 1, 10},
    };
    for (const Case& c : cases) {
        int32_t v = 0;
        ASSERT_TRUE(OptionFields::entryValue("-2000000000", c.range, v));
        EXPECT_EQ(v, c.min);
        ASSERT_TRUE(OptionFields::entryValue("2000000000", c.range, v));
        EXPECT_EQ(v, c.max);
        EXPECT_EQ(shown(c.max), std::to_string(c.max));
    }
}

TEST(OptionFields, FormattingFitsSmallBuffers)
{
    char text[4] = {'x', 'x', 'x', 'x'};
    OptionFields::formatNumber(-134217727, text, sizeof text);
    EXPECT_EQ(std::string(text), "-13");
    OptionFields::formatNumber(5, nullptr, 8); // no buffer: nothing happens
    EXPECT_EQ(shown(-1), "-1");
}

TEST(OptionFields, MeasureButtonCyclesThroughNineBitmaps)
{
    const int expected[9] = {145, 150, 146, 151, 147, 152, 148, 153, 149};
    int32_t m = 0;
    for (int click = 0; click < 9; ++click) {
        EXPECT_EQ(OptionFields::measureBitmap(m), expected[click]) << "measure " << m;
        m = OptionFields::nextMeasure(m);
    }
    EXPECT_EQ(m, 0); // nine clicks return to the first picture
    // A stored measure outside 0..8 plays at one cycle a beat (the quarter
    // note's picture) and the next click starts again at 0.
    EXPECT_EQ(OptionFields::measureBitmap(9), 147);
    EXPECT_EQ(OptionFields::measureBitmap(-3), 147);
    EXPECT_EQ(OptionFields::nextMeasure(77), 0);
    EXPECT_EQ(OptionFields::nextMeasure(-1), 0);
}

TEST(OptionFields, EnabledStatesFollowTheirSwitches)
{
    EXPECT_TRUE(OptionFields::bpmFieldEnabled(0));
    EXPECT_FALSE(OptionFields::bpmFieldEnabled(1));
    EXPECT_FALSE(OptionFields::seedControlsEnabled(0));
    EXPECT_FALSE(OptionFields::seedControlsEnabled(1)); // random reseed
    EXPECT_TRUE(OptionFields::seedControlsEnabled(2));
    EXPECT_FALSE(OptionFields::seedControlsEnabled(3));
    EXPECT_TRUE(OptionFields::viewControlsEnabled(1));
    EXPECT_FALSE(OptionFields::viewControlsEnabled(0));
}

TEST(OptionFields, DimensionNamesAndAxisSwaps)
{
    EXPECT_STREQ(OptionFields::dimensionName(0), "Vol");
    EXPECT_STREQ(OptionFields::dimensionName(4), "Noise");
    EXPECT_STREQ(OptionFields::dimensionName(5), "!error!");
    EXPECT_STREQ(OptionFields::dimensionName(-1), "!error!");
    int32_t order[5] = {2, 1, 0, 3, 4};
    EXPECT_TRUE(OptionFields::swapAxes(order, 0, 1));
    EXPECT_EQ((std::vector<int32_t>(order, order + 5)), (std::vector<int32_t>{1, 2, 0, 3, 4}));
    EXPECT_FALSE(OptionFields::swapAxes(order, 4, 5));
    EXPECT_FALSE(OptionFields::swapAxes(order, -1, 0));
    EXPECT_FALSE(OptionFields::swapAxes(nullptr, 0, 1));
    EXPECT_EQ((std::vector<int32_t>(order, order + 5)), (std::vector<int32_t>{1, 2, 0, 3, 4}));
}

TEST(OptionFields, EachDialogHasItsOwnHelpTopic)
{
    const std::string topics[] = {OptionFields::kSpeedLfoTopic, OptionFields::kSynthesisTopic,
                                  OptionFields::kSeedingTopic, OptionFields::kVisualisationTopic};
    EXPECT_EQ(topics[0], "SpeedLFODialog.htm");
    EXPECT_EQ(topics[1], "SynthesisOptions.htm");
    EXPECT_EQ(topics[2], "DeterminismSeeding.htm");
    EXPECT_EQ(topics[3], "VisualisationOptions.htm");
}

// Drags of the order list: the list's entries and the axis order they
// stand for, changed swap by swap as the dialog does.
struct OrderList {
    std::vector<int32_t> order{2, 1, 0, 3, 4};
    OrderListDrag drag;
    std::vector<OrderListDrag::Swap> swaps;

    void select(int32_t selection)
    {
        OrderListDrag::Swap out[5];
        const int32_t n = drag.follow(selection, out, 5);
        for (int32_t i = 0; i < n; ++i) {
            swaps.push_back(out[i]);
            OptionFields::swapAxes(order.data(), out[i].lower, out[i].higher);
        }
    }
};

TEST(OrderListDrag, DraggingTheTopEntryToThirdPlaceSwapsTwice)
{
    OrderList list;
    list.drag.press(0, 5);
    list.select(1);
    list.select(2);
    list.drag.release();
    ASSERT_EQ(list.swaps.size(), 2u);
    EXPECT_EQ(list.swaps[0].lower, 0);
    EXPECT_EQ(list.swaps[0].higher, 1);
    EXPECT_EQ(list.swaps[1].lower, 1);
    EXPECT_EQ(list.swaps[1].higher, 2);
    EXPECT_EQ(list.order, (std::vector<int32_t>{1, 0, 2, 3, 4}));
}

TEST(OrderListDrag, AFastDragPassesEveryNeighbourInTurn)
{
    OrderList slow, fast;
    slow.drag.press(4, 5);
    for (int32_t s = 3; s >= 0; --s)
        slow.select(s);
    fast.drag.press(4, 5);
    fast.select(0); // the selection jumped four places at once
    EXPECT_EQ(fast.swaps.size(), 4u);
    EXPECT_EQ(fast.order, slow.order);
    EXPECT_EQ(fast.order, (std::vector<int32_t>{4, 2, 1, 0, 3}));
    EXPECT_EQ(fast.drag.remembered(), 0);
}

TEST(OrderListDrag, NothingMovesWithoutAHeldEntry)
{
    OrderList list;
    list.select(3);         // no press
    list.drag.press(-1, 5); // no selection under the press
    list.select(2);
    list.drag.press(7, 5); // a selection beyond the list
    list.select(2);
    list.drag.press(1, 5);
    list.drag.release();
    list.select(2); // after the release
    list.drag.press(1, 5);
    list.select(1); // the selection did not move
    list.select(9); // nor to an entry that does not exist
    EXPECT_TRUE(list.swaps.empty());
    EXPECT_EQ(list.order, (std::vector<int32_t>{2, 1, 0, 3, 4}));
}

TEST(OrderListDrag, DraggingBackRestoresTheOrder)
{
    OrderList list;
    list.drag.press(1, 5);
    list.select(3);
    list.select(1);
    list.drag.release();
    EXPECT_EQ(list.swaps.size(), 4u);
    EXPECT_EQ(list.order, (std::vector<int32_t>{2, 1, 0, 3, 4}));
}
} // namespace
