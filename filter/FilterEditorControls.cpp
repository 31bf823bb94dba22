#include "FilterEditorControls.h"

#include <cmath>

namespace FilterEditorControls {

float valueFromPosition(int position)
{
    return static_cast<float>(position * 0.0025);
}

int positionFromValue(float value)
{
    // Truncation, but a value within a ten-thousandth of a step below a
    // position counts as that position: p x 0.0025 rounded to single
    // precision can land just below p / 400 (for 14 of the 401 positions),
    // and the slider that set the value must show it at the same place again.
    const double scaled = static_cast<double>(value) * kSliderMax + 1e-4;
    if (!(scaled > 0.0)) // also NaN
        return 0;
    if (scaled >= kSliderMax)
        return kSliderMax;
    return static_cast<int>(scaled);
}

bool positionChangesValue(int position, float current)
{
    return position != positionFromValue(current);
}

int parameterOfSlider(int controlId)
{
    switch (controlId) {
    case IDC_PREGAIN:
        return 0;
    case IDC_RESONANCE:
        return 1;
    case IDC_CUTOFF:
        return 2;
    case IDC_POSTGAIN:
        return 4;
    default:
        return -1;
    }
}

int sliderOfParameter(int index)
{
    switch (index) {
    case 0:
        return IDC_PREGAIN;
    case 1:
        return IDC_RESONANCE;
    case 2:
        return IDC_CUTOFF;
    case 4:
        return IDC_POSTGAIN;
    default:
        return 0;
    }
}

int depthButtonFor(float depthValue)
{
    const double scaled = static_cast<double>(depthValue) * 2.9;
    // Compared before truncating, so no conversion is ever out of range.
    if (!(scaled > -1.0) || scaled >= 3.0)
        return 0;
    return IDC_DEPTH12 + static_cast<int>(scaled);
}

bool depthValueOfButton(int controlId, float& value)
{
    switch (controlId) {
    case IDC_DEPTH12:
        value = 0.0f;
        return true;
    case IDC_DEPTH24:
        value = 0.5f;
        return true;
    case IDC_DEPTH48:
        value = 1.0f;
        return true;
    default:
        return false;
    }
}

} // namespace FilterEditorControls
