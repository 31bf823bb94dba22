// The editor's menus as data: the Presets menu with and without the preset
// maker, what each position of every menu does (separators and dismissals
// do nothing), the context menu of each control with and without a
// selected dimension, the help topic of every control and the envelope that
// "Reset envelope" resets.
#include "EditorMenus.h"
#include "EditorLayout.h"
#include "FactoryBank.h"
#include "Patch.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {
std::vector<std::string> texts(const std::vector<const char*>& items)
{
    return std::vector<std::string>(items.begin(), items.end());
}

std::vector<const char*> bankNames()
{
    std::vector<const char*> names;
    for (int32_t i = 0; i < FactoryBank::count(); ++i)
        names.push_back(FactoryBank::name(i));
    return names;
}

TEST(PresetsMenu, ListsTheBankInOrderAndOffersExportOnlyWithThePresetMaker)
{
    const std::vector<const char*> names = bankNames();
    const int32_t count = static_cast<int32_t>(names.size());
    ASSERT_EQ(count, 45);

    const std::vector<std::string> plain =
        texts(EditorMenus::presetsMenu(names.data(), count, false));
    ASSERT_EQ(plain.size(), 45u);
    for (int32_t i = 0; i < count; ++i)
        EXPECT_EQ(plain[i], FactoryBank::name(i));

    const std::vector<std::string> authoring =
        texts(EditorMenus::presetsMenu(names.data(), count, true));
    ASSERT_EQ(authoring.size(), 47u);
    EXPECT_EQ(authoring[45], "-");
    EXPECT_EQ(authoring[46], "EXPORT NEW PRESET");
    EXPECT_EQ(std::string(EditorMenus::kPresetMakerModule), "Nimbulator Patchforger");
}

TEST(PresetsMenu, PositionsMapToPresetsExportOrNothing)
{
    for (int32_t p : {0, 17, 44}) {
        const EditorMenus::Choice c = EditorMenus::presetsChoice(p, 45, true);
        EXPECT_EQ(c.action, EditorMenus::kLoadPreset);
        EXPECT_EQ(c.preset, p);
    }
    EXPECT_EQ(EditorMenus::presetsChoice(45, 45, true).action, EditorMenus::kNothing); // separator
    EXPECT_EQ(EditorMenus::presetsChoice(46, 45, true).action, EditorMenus::kExportPreset);
    // Without the preset maker the same positions do not exist.
    EXPECT_EQ(EditorMenus::presetsChoice(46, 45, false).action, EditorMenus::kNothing);
    EXPECT_EQ(EditorMenus::presetsChoice(-1, 45, true).action, EditorMenus::kNothing);
    EXPECT_EQ(EditorMenus::presetsChoice(47, 45, true).action, EditorMenus::kNothing);
    EXPECT_EQ(EditorMenus::presetsChoice(-1, 45, true).preset, -1);
}

TEST(PresetsMenu, MissingNamesGiveEmptyItemsNotCrashes)
{
    const char* names[3] = {"A", nullptr, "C"};
    EXPECT_EQ(texts(EditorMenus::presetsMenu(names, 3, false)),
              (std::vector<std::string>{"A", "", "C"}));
    EXPECT_TRUE(EditorMenus::presetsMenu(nullptr, 45, false).empty());
    EXPECT_TRUE(EditorMenus::presetsMenu(names, -4, false).empty());
}

TEST(OptionsMenu, EntriesInOrderWithTheirActions)
{
    EXPECT_EQ(texts(EditorMenus::optionsMenu()),
              (std::vector<std::string>{"Synthesis", "Speed LFO", "Midi Controller Map",
                                        "Determinism seeding", "-", "Visualisation", "-",
                                        "Reset Devices", "<zorvex button>"}));
    const EditorMenus::Action expected[] = {
        EditorMenus::kOpenSynthesis, EditorMenus::kOpenSpeedLfo, EditorMenus::kOpenMidiMap,
        EditorMenus::kOpenSeeding,   EditorMenus::kNothing,      EditorMenus::kOpenVisualisation,
        EditorMenus::kNothing,       EditorMenus::kResetDevices, EditorMenus::kRandomise};
    for (int p = 0; p < 9; ++p)
        EXPECT_EQ(EditorMenus::optionsChoice(p).action, expected[p]) << p;
    EXPECT_EQ(EditorMenus::optionsChoice(-1).action, EditorMenus::kNothing);
    EXPECT_EQ(EditorMenus::optionsChoice(9).action, EditorMenus::kNothing);
}

TEST(HelpMenu, HelpThenAbout)
{
    EXPECT_EQ(texts(EditorMenus::helpMenu()), (std::vector<std::string>{"Help", "About"}));
    EXPECT_EQ(EditorMenus::helpChoice(0).action, EditorMenus::kShowWelcome);
    EXPECT_EQ(EditorMenus::helpChoice(1).action, EditorMenus::kOpenAbout);
    EXPECT_EQ(EditorMenus::helpChoice(-1).action, EditorMenus::kNothing);
    EXPECT_EQ(EditorMenus::helpChoice(2).action, EditorMenus::kNothing);
}

TEST(ContextMenu, EnvelopeGraphsOfferResetOnlyWithADimensionSelected)
{
    const std::vector<std::string> whatsThis = {"What's this?"};
    const std::vector<std::string> reset = {"What's this?", "-", "Reset envelope"};
    for (int32_t graph : {1024, 1025}) {
        EXPECT_EQ(texts(EditorMenus::contextMenu(graph, -1)), whatsThis) << graph;
        // A selection outside 0..4 is no selection.
        EXPECT_EQ(texts(EditorMenus::contextMenu(graph, 5)), whatsThis) << graph;
        for (int32_t d = 0; d < 5; ++d)
            EXPECT_EQ(texts(EditorMenus::contextMenu(graph, d)), reset) << graph << " " << d;
        EXPECT_EQ(EditorMenus::contextChoice(graph, -1, 2).action, EditorMenus::kNothing);
        EXPECT_EQ(EditorMenus::contextChoice(graph, 3, 2).action, EditorMenus::kResetEnvelope);
        EXPECT_EQ(EditorMenus::contextChoice(graph, 3, 1).action, EditorMenus::kNothing);
    }
    // The speed graph always has its envelope.
    EXPECT_EQ(texts(EditorMenus::contextMenu(1026, -1)), reset);
    EXPECT_EQ(EditorMenus::contextChoice(1026, -1, 2).action, EditorMenus::kResetEnvelope);
}

TEST(ContextMenu, FlockViewOffersItsOptionsAndOtherControlsOnlyHelp)
{
    EXPECT_EQ(texts(EditorMenus::contextMenu(1045, -1)),
              (std::vector<std::string>{"What's this?", "-", "Visualisation options"}));
    EXPECT_EQ(EditorMenus::contextChoice(1045, 2, 2).action, EditorMenus::kOpenVisualisation);
    for (const auto& control : EditorLayout::controls) {
        if (control.id >= 1024 && control.id <= 1026)
            continue;
        if (control.id == 1045)
            continue;
        for (int32_t d : {-1, 0, 4}) {
            EXPECT_EQ(texts(EditorMenus::contextMenu(control.id, d)),
                      std::vector<std::string>{"What's this?"})
                << control.id;
            EXPECT_EQ(EditorMenus::contextChoice(control.id, d, 2).action, EditorMenus::kNothing);
        }
        EXPECT_EQ(EditorMenus::contextChoice(control.id, -1, 0).action, EditorMenus::kWhatsThis);
        EXPECT_EQ(EditorMenus::contextChoice(control.id, -1, -1).action, EditorMenus::kNothing);
    }
}

TEST(HelpTopics, EveryControlHasTheTopicOfItsGroup)
{
    // Every control of the window has a topic; only the keyboard (and ids
    // that are not controls) open the welcome page.
    for (const auto& control : EditorLayout::controls) {
        const std::string topic = EditorMenus::topicOf(control.id);
        EXPECT_FALSE(topic.empty());
        if (control.id != 1020) {
            EXPECT_NE(topic, "Welcome.htm") << control.id;
        }
    }
    EXPECT_STREQ(EditorMenus::topicOf(1020), "Welcome.htm");
    EXPECT_STREQ(EditorMenus::topicOf(0), "Welcome.htm");
    EXPECT_STREQ(EditorMenus::topicOf(-5), "Welcome.htm");

    for (int32_t id : {1022, 1031, 1032, 1037, 1038, 1039})
        EXPECT_STREQ(EditorMenus::topicOf(id), "HomePositions.htm") << id;
    for (int32_t id : {1033, 1034, 1035, 1036, 1040})
        EXPECT_STREQ(EditorMenus::topicOf(id), "ParameterRanges.htm") << id;
    EXPECT_STREQ(EditorMenus::topicOf(1024), "HomePositionEnvelopes.htm");
    EXPECT_STREQ(EditorMenus::topicOf(1025), "ParameterRangeEnvelopes.htm");
    for (int32_t id : {1026, 1043, 1044, 1049, 1051})
        EXPECT_STREQ(EditorMenus::topicOf(id), "IndividualOscillatorMovement.htm") << id;
    // The grey knobs of the flocking group.
    for (int32_t id : {1046, 1047, 1048})
        EXPECT_STREQ(EditorMenus::topicOf(id), "HyperspaceFlockingBehaviour.htm") << id;
    for (int32_t id : {1041, 1042, 1050})
        EXPECT_STREQ(EditorMenus::topicOf(id), "Additional Processing.htm") << id;
    EXPECT_STREQ(EditorMenus::topicOf(1045), "HyperspaceVisualisation.htm");
}

TEST(ResetEnvelope, EachGraphResetsTheEnvelopeItShows)
{
    for (int32_t d = 0; d < 5; ++d) {
        const EditorMenus::EnvelopeTarget home = EditorMenus::resetTarget(1024, d);
        EXPECT_EQ(home.index, kVolumeEnv + d);
        EXPECT_TRUE(home.isHome);
        EXPECT_EQ(home.isVolume, d == 0);
        const EditorMenus::EnvelopeTarget range = EditorMenus::resetTarget(1025, d);
        EXPECT_EQ(range.index, kVolumeRangeEnv + d);
        EXPECT_FALSE(range.isHome);
        EXPECT_FALSE(range.isVolume);
    }
    for (int32_t d : {-1, 0, 3}) {
        const EditorMenus::EnvelopeTarget speed = EditorMenus::resetTarget(1026, d);
        EXPECT_EQ(speed.index, kSpeedEnv);
        EXPECT_FALSE(speed.isHome);
        EXPECT_FALSE(speed.isVolume);
    }
    // No selection, a bad selection, or a control without an envelope.
    EXPECT_EQ(EditorMenus::resetTarget(1024, -1).index, -1);
    EXPECT_EQ(EditorMenus::resetTarget(1025, 5).index, -1);
    EXPECT_EQ(EditorMenus::resetTarget(1045, 2).index, -1);
    EXPECT_EQ(EditorMenus::resetTarget(1022, 0).index, -1);
}
} // namespace
