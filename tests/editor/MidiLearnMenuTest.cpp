// The knobs' MIDI learn entries: which parameter each knob learns for, the
// entries after the menu's own, what a position means, and forgetting.
#include "MidiLearnMenu.h"
#include "EditorLayout.h"
#include "Patch.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(MidiLearnMenu, EveryKnobWithAParameterLearnsForItAndNothingElseDoes)
{
    EXPECT_EQ(MidiLearnMenu::parameterOf(1046), 13); // Attract
    EXPECT_EQ(MidiLearnMenu::parameterOf(1022), 0);  // master volume
    EXPECT_EQ(MidiLearnMenu::parameterOf(1037), -1); // coarse tune: no parameter
    EXPECT_EQ(MidiLearnMenu::parameterOf(1038), -1); // fine tune
    for (int32_t id : {1020, 1024, 1025, 1026, 1027, 1045, 0, -1, 99999})
        EXPECT_EQ(MidiLearnMenu::parameterOf(id), -1) << id;
    bool seen[19] = {};
    for (const EditorLayout::KnobPlace& knob : EditorLayout::knobs) {
        const int32_t p = MidiLearnMenu::parameterOf(knob.id);
        if (p < 0)
            continue;
        ASSERT_LT(p, 19) << knob.id;
        EXPECT_FALSE(seen[p]) << "two knobs learn for parameter " << p;
        seen[p] = true;
    }
    for (int p = 0; p < 19; ++p)
        EXPECT_TRUE(seen[p]) << "no knob learns for parameter " << p;
}

TEST(MidiLearnMenu, EntriesFollowTheMenusOwnAndForgetOnlyWhenMapped)
{
    std::vector<const char*> items = {"What's this?"};
    MidiLearnMenu::appendItems(items, false);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_STREQ(items[1], "-");
    EXPECT_STREQ(items[2], "Learn MIDI controller");
    EXPECT_EQ(MidiLearnMenu::choice(2, 1, false), MidiLearnMenu::kLearn);
    EXPECT_EQ(MidiLearnMenu::choice(3, 1, false), MidiLearnMenu::kNothing);

    items = {"What's this?"};
    MidiLearnMenu::appendItems(items, true);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_STREQ(items[3], "Forget MIDI controller");
    EXPECT_EQ(MidiLearnMenu::choice(3, 1, true), MidiLearnMenu::kForget);
    for (int32_t position : {-1, 0, 1, 4})
        EXPECT_EQ(MidiLearnMenu::choice(position, 1, true), MidiLearnMenu::kNothing) << position;
}

TEST(MidiLearnMenu, MappedAndForgetSeeOnlyControllers0To119)
{
    Patch p;
    std::memset(&p, 0, sizeof p);
    newPatch(p);
    EXPECT_TRUE(MidiLearnMenu::isMapped(p, 0));  // controller 7 in a new patch
    EXPECT_TRUE(MidiLearnMenu::isMapped(p, 13)); // controller 21
    EXPECT_FALSE(MidiLearnMenu::isMapped(p, 30));
    EXPECT_FALSE(MidiLearnMenu::isMapped(p, -1)); // unmapped entries are not a parameter
    p.midiMap[125] = 30;                          // beyond what the dialog and files show
    EXPECT_FALSE(MidiLearnMenu::isMapped(p, 30));
    p.midiMap[40] = 30;
    p.midiMap[119] = 30;
    EXPECT_TRUE(MidiLearnMenu::isMapped(p, 30));
    EXPECT_EQ(MidiLearnMenu::forget(p, 30), 2);
    EXPECT_EQ(p.midiMap[40], -1);
    EXPECT_EQ(p.midiMap[119], -1);
    EXPECT_EQ(p.midiMap[125], 30);
    EXPECT_EQ(MidiLearnMenu::forget(p, 13), 1);
    EXPECT_EQ(p.midiMap[21], -1);
    EXPECT_EQ(p.midiMap[7], 0);
    EXPECT_EQ(MidiLearnMenu::forget(p, -1), 0);
    EXPECT_EQ(p.midiMap[2], -1);
}
