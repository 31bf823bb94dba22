#include "MidiLearnMenu.h"

#include "EditorLayout.h"

namespace {
const int32_t kShownControllers = 120;
}

const char* const MidiLearnMenu::kLearnText = "Learn MIDI controller";
const char* const MidiLearnMenu::kForgetText = "Forget MIDI controller";

int32_t MidiLearnMenu::parameterOf(int32_t controlId)
{
    for (const EditorLayout::KnobPlace& knob : EditorLayout::knobs)
        if (knob.id == controlId)
            return knob.parameter;
    return -1;
}

bool MidiLearnMenu::isMapped(const Patch& patch, int32_t parameter)
{
    if (parameter < 0)
        return false;
    for (int32_t c = 0; c < kShownControllers; ++c)
        if (patch.midiMap[c] == parameter)
            return true;
    return false;
}

void MidiLearnMenu::appendItems(std::vector<const char*>& items, bool mapped)
{
    items.push_back("-");
    items.push_back(kLearnText);
    if (mapped)
        items.push_back(kForgetText);
}

MidiLearnMenu::Action MidiLearnMenu::choice(int32_t position, int32_t baseCount, bool mapped)
{
    if (position == baseCount + 1)
        return kLearn;
    if (mapped && position == baseCount + 2)
        return kForget;
    return kNothing;
}

int32_t MidiLearnMenu::forget(Patch& patch, int32_t parameter)
{
    int32_t count = 0;
    if (parameter < 0)
        return 0;
    for (int32_t c = 0; c < kShownControllers; ++c) {
        if (patch.midiMap[c] == parameter) {
            patch.midiMap[c] = -1;
            ++count;
        }
    }
    return count;
}
