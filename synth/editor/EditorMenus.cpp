#include "EditorMenus.h"

#include "Patch.h"

namespace {
const int32_t kKeyboard = 1020, kHomeEnvelope = 1024, kRangeEnvelope = 1025, kSpeedEnvelope = 1026,
              kHyperspace = 1045;

bool validDimension(int32_t d)
{
    return d >= 0 && d < 5;
}

// The context menu's third entry of a control, or null when it has none.
const char* contextEntry(int32_t controlId, int32_t selected)
{
    if ((controlId == kHomeEnvelope || controlId == kRangeEnvelope) && validDimension(selected))
        return "Reset envelope";
    if (controlId == kSpeedEnvelope)
        return "Reset envelope";
    if (controlId == kHyperspace)
        return "Visualisation options";
    return nullptr;
}

struct Topic {
    int32_t id;
    const char* page;
};
const Topic kTopics[] = {
    {kKeyboard, "Welcome.htm"},
    {1022, "HomePositions.htm"},
    {1031, "HomePositions.htm"},
    {1032, "HomePositions.htm"},
    {1037, "HomePositions.htm"},
    {1038, "HomePositions.htm"},
    {1039, "HomePositions.htm"},
    {1033, "ParameterRanges.htm"},
    {1034, "ParameterRanges.htm"},
    {1035, "ParameterRanges.htm"},
    {1036, "ParameterRanges.htm"},
    {1040, "ParameterRanges.htm"},
    {kHomeEnvelope, "HomePositionEnvelopes.htm"},
    {kRangeEnvelope, "ParameterRangeEnvelopes.htm"},
    {kSpeedEnvelope, "IndividualOscillatorMovement.htm"},
    {1043, "IndividualOscillatorMovement.htm"},
    {1044, "IndividualOscillatorMovement.htm"},
    {1049, "IndividualOscillatorMovement.htm"},
    {1051, "IndividualOscillatorMovement.htm"},
    {1046, "HyperspaceFlockingBehaviour.htm"},
    {1047, "HyperspaceFlockingBehaviour.htm"},
    {1048, "HyperspaceFlockingBehaviour.htm"},
    {1041, "Additional Processing.htm"},
    {1042, "Additional Processing.htm"},
    {1050, "Additional Processing.htm"},
    {kHyperspace, "HyperspaceVisualisation.htm"},
};

const EditorMenus::Choice kNone = {EditorMenus::kNothing, -1};

EditorMenus::Choice choice(EditorMenus::Action action)
{
    return {action, -1};
}
} // namespace

const char* const EditorMenus::kExportText = "EXPORT NEW PRESET";
const char* const EditorMenus::kPresetMakerModule = "Nimbulator Patchforger";
const char* const EditorMenus::kSeparator = "-";
const char* const EditorMenus::kWelcomeTopic = "Welcome.htm";

std::vector<const char*> EditorMenus::presetsMenu(const char* const* names, int32_t count,
                                                  bool exportOffered)
{
    std::vector<const char*> items;
    for (int32_t i = 0; names && i < count; ++i)
        items.push_back(names[i] ? names[i] : "");
    if (exportOffered) {
        items.push_back(kSeparator);
        items.push_back(kExportText);
    }
    return items;
}

EditorMenus::Choice EditorMenus::presetsChoice(int32_t position, int32_t count, bool exportOffered)
{
    if (position >= 0 && position < count)
        return {kLoadPreset, position};
    if (exportOffered && count >= 0 && position == count + 1)
        return choice(kExportPreset);
    return kNone;
}

std::vector<const char*> EditorMenus::optionsMenu()
{
    return {"Synthesis",     "Speed LFO", "Midi Controller Map", "Determinism seeding", kSeparator,
            "Visualisation", kSeparator,  "Reset Devices",       "<zorvex button>"};
}

EditorMenus::Choice EditorMenus::optionsChoice(int32_t position)
{
    switch (position) {
    case 0:
        return choice(kOpenSynthesis);
    case 1:
        return choice(kOpenSpeedLfo);
    case 2:
        return choice(kOpenMidiMap);
    case 3:
        return choice(kOpenSeeding);
    case 5:
        return choice(kOpenVisualisation);
    case 7:
        return choice(kResetDevices);
    case 8:
        return choice(kRandomise);
    default:
        return kNone;
    }
}

std::vector<const char*> EditorMenus::helpMenu()
{
    return {"Help", "About"};
}

EditorMenus::Choice EditorMenus::helpChoice(int32_t position)
{
    if (position == 0)
        return choice(kShowWelcome);
    if (position == 1)
        return choice(kOpenAbout);
    return kNone;
}

std::vector<const char*> EditorMenus::contextMenu(int32_t controlId, int32_t selected)
{
    std::vector<const char*> items = {"What's this?"};
    if (const char* entry = contextEntry(controlId, selected)) {
        items.push_back(kSeparator);
        items.push_back(entry);
    }
    return items;
}

EditorMenus::Choice EditorMenus::contextChoice(int32_t controlId, int32_t selected,
                                               int32_t position)
{
    if (position == 0)
        return choice(kWhatsThis);
    if (position != 2 || !contextEntry(controlId, selected))
        return kNone;
    return choice(controlId == kHyperspace ? kOpenVisualisation : kResetEnvelope);
}

const char* EditorMenus::topicOf(int32_t controlId)
{
    for (const Topic& topic : kTopics)
        if (topic.id == controlId)
            return topic.page;
    return kWelcomeTopic;
}

EditorMenus::EnvelopeTarget EditorMenus::resetTarget(int32_t controlId, int32_t selected)
{
    if (controlId == kSpeedEnvelope)
        return {kSpeedEnv, false, false};
    if (!validDimension(selected))
        return {-1, false, false};
    if (controlId == kHomeEnvelope)
        return {kVolumeEnv + selected, true, selected == 0};
    if (controlId == kRangeEnvelope)
        return {kVolumeRangeEnv + selected, false, false};
    return {-1, false, false};
}
