// The editor's controls as data: every control's id, window class, text and
// place in the dialog; the 21 knobs' settings and the program fields they
// show; the eleven envelope views; the dimension colours; and which control
// a host parameter belongs to. The Win32 code builds its windows from these
// tables; nothing here depends on the window system.
#pragma once

#include "EnvelopeView.h"
#include "Patch.h"
#include "Rect.h"

#include <cstdint>

class EditorLayout {
public:
    enum {
        kWidth = 680,
        kHeight = 536,
        kControls = 26,
        kKnobs = 21,
        kDimensions = 5,
        kEnvelopeViews = 11,
        kKeyboardId = 1020,
        kHomeEnvelopeId = 1024,
        kRangeEnvelopeId = 1025,
        kSpeedEnvelopeId = 1026,
        kPresetsButtonId = 1027,
        kOptionsButtonId = 1028,
        kHelpButtonId = 1029,
        kMasterKnobId = 1022,
        kHyperspaceId = 1045,
    };

    static constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b)
    {
        return r | (g << 8) | (b << 16);
    }

    struct ControlPlace {
        int32_t id;
        const char* className; // "CKnob", "CEnvelope", "CKeyboard", "CHyperspace"
        const char* text;      // the window text of the dialog item
        Rect rect;             // dialog client pixels
    };
    // In the order of the dialog template.
    static const ControlPlace controls[kControls];
    static const ControlPlace* findControl(int32_t id);

    struct KnobSettings {
        int32_t format;         // ValueText::Format
        char unit[20];          // appended to the value text
        uint32_t dotColour;     // 0x00BBGGRR
        uint32_t captionColour; // 0x00BBGGRR
        int32_t face;           // bitmap resource id
        int32_t min, max;
        int32_t decimals;
        int32_t dimension; // 0..4, -1 none
        uint8_t dial;      // the dot is drawn and dragged
        uint8_t valueText; // the value is drawn and typed
    };
    struct KnobPlace {
        int32_t id;
        KnobSettings settings;
        int32_t Patch::*field; // the program field the knob shows
        int32_t parameter;     // host parameter 0..18, -1 for the tune knobs
    };
    // In the order the editor builds them.
    static const KnobPlace knobs[kKnobs];
    // The knob showing host parameter `index`, null when none does.
    static const KnobPlace* knobForParameter(int32_t index);

    // Dimension colours: dark for dots and pens, light for captions and
    // envelope names.
    static const uint32_t dimensionDark[kDimensions];
    static const uint32_t dimensionLight[kDimensions];
    // The column of dimension d: its upper control (master, coarse or home
    // knob) and its range knob.
    static int32_t upperControlId(int32_t dimension);
    static int32_t rangeKnobId(int32_t dimension);

    // The view of envelope `index` 0..10 (its data pointer is null).
    static EnvelopeView envelopeView(int32_t index);

    // What a host parameter change repaints.
    enum Target {
        kKnob,
        kSynthesisOption,
        kSeedOption,
        kHomeEnvelope,
        kRangeEnvelope,
        kSpeedEnvelope,
        kUnknown
    };
    struct ParameterTarget {
        Target target;
        int32_t dimension; // home and range envelopes: 0..4
    };
    static ParameterTarget parameterTarget(int32_t index);
};
