// The rules of the quenvarel editor's controls, apart from any window: which
// control shows which parameter, how a slider position maps to a parameter
// value and back, and which depth button is checked. The Win32 editor
// (FilterEditor) only applies them.
#pragma once

#include "FilterEditorResources.h"

namespace FilterEditorControls {

const int kSliderMax = 400; // every slider runs 0..400

// Value 0..1 that slider position p (0..400) stands for: p x 0.0025.
float valueFromPosition(int position);

// Position 0..400 that shows value v: trunc(v x 400), with a tolerance of a
// ten-thousandth of a step for the rounding of p x 0.0025, so that
// positionFromValue(valueFromPosition(p)) == p; values outside 0..1 stop at
// the ends, NaN shows at 0.
int positionFromValue(float value);

// Whether a slider the user left at `position` should set its parameter, now
// at `current`: only when it shows another position. A press that does not
// move the thumb so never rounds a value the host set to the slider's grid.
bool positionChangesValue(int position, float current);

// Parameter index a slider stands for (1017 PreGain, 1012 Resonance, 1013
// Cutoff, 1018 PostGain), or -1 for any other control id.
int parameterOfSlider(int controlId);

// Slider control id that shows parameter `index`, or 0 when no slider does
// (Depth is shown by the radio buttons).
int sliderOfParameter(int index);

// Depth radio button to check for a Depth value as the effect reads it back
// (0.1, 0.44482756, 0.78965515 for one to three stages): 1014 +
// trunc(v x 2.9). 0 when that lands outside the three buttons (a Depth that
// bypasses the filter), so none is checked.
int depthButtonFor(float depthValue);

// The Depth value a radio button sets: 0.0 for "12dB", 0.5 for "24dB", 1.0
// for "48dB". False for any other control id.
bool depthValueOfButton(int controlId, float& value);

} // namespace FilterEditorControls
