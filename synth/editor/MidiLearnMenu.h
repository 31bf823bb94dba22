// The MIDI learn entries of a knob's context menu, as data and rules: which
// host parameter a knob learns for, the entries appended after the menu's
// own items (a separator, "Learn MIDI controller", and "Forget MIDI
// controller" while a controller drives the knob's parameter), what a
// chosen position asks for, and forgetting a parameter's controllers. Only
// the controllers 0..119 that the map dialog shows and map files hold are
// looked at or changed. No window system here.
#pragma once

#include "Patch.h"

#include <cstdint>
#include <vector>

class MidiLearnMenu {
public:
    enum Action : int32_t { kNothing, kLearn, kForget };

    static const char* const kLearnText;  // "Learn MIDI controller"
    static const char* const kForgetText; // "Forget MIDI controller"

    // The host parameter (0..100) a control learns a controller for: the
    // knobs' own parameters. -1 for the tune knobs (which no parameter
    // drives) and for every control that is not a knob.
    static int32_t parameterOf(int32_t controlId);
    // Whether a controller 0..119 drives `parameter`.
    static bool isMapped(const Patch& patch, int32_t parameter);
    // Appends the learn entries to a context menu's items.
    static void appendItems(std::vector<const char*>& items, bool mapped);
    // What choosing `position` asks for, in a menu whose own items were
    // `baseCount` before the learn entries were appended.
    static Action choice(int32_t position, int32_t baseCount, bool mapped);
    // Unmaps every controller 0..119 that drives `parameter`; returns how
    // many were unmapped.
    static int32_t forget(Patch& patch, int32_t parameter);
};
