#include "EditorLayout.h"

#include "ValueText.h"

namespace {
const char* const kKnobClass = "CKnob";
const char* const kEnvelopeClass = "CEnvelope";

constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b)
{
    return EditorLayout::rgb(r, g, b);
}
// Dimension colours, dark (dots) and light (captions), and the grey knobs'.
constexpr uint32_t kVolumeDark = rgb(0, 0, 128), kVolumeLight = rgb(128, 128, 192);
constexpr uint32_t kPitchDark = rgb(0, 128, 0), kPitchLight = rgb(128, 192, 128);
constexpr uint32_t kPanDark = rgb(128, 0, 0), kPanLight = rgb(192, 128, 128);
constexpr uint32_t kResonanceDark = rgb(128, 128, 0), kResonanceLight = rgb(192, 192, 128);
constexpr uint32_t kNoiseDark = rgb(128, 0, 128), kNoiseLight = rgb(128, 128, 192);
constexpr uint32_t kGreyDot = rgb(68, 68, 68), kGreyCaption = rgb(144, 144, 144);
constexpr int32_t kInt = ValueText::kInteger;
} // namespace

const EditorLayout::ControlPlace EditorLayout::controls[kControls] = {
    {1020, "CKeyboard", "Keyboard", {9, 468, 569, 528}},
    {1022, kKnobClass, "master", {12, 125, 57, 177}},
    {1031, kKnobClass, "home", {114, 125, 159, 177}},
    {1032, kKnobClass, "home", {165, 125, 210, 177}},
    {1033, kKnobClass, "range", {165, 185, 210, 237}},
    {1034, kKnobClass, "range", {114, 185, 159, 237}},
    {1035, kKnobClass, "range", {63, 185, 108, 237}},
    {1036, kKnobClass, "range", {12, 185, 57, 237}},
    {1037, kKnobClass, "coarse", {63, 124, 108, 150}},
    {1038, kKnobClass, "fine", {63, 150, 108, 176}},
    {1039, kKnobClass, "home", {218, 125, 263, 177}},
    {1040, kKnobClass, "range", {218, 185, 263, 237}},
    {1024, kEnvelopeClass, "home", {12, 252, 264, 317}},
    {1025, kEnvelopeClass, "range", {12, 320, 264, 385}},
    {1041, kKnobClass, "Q", {626, 460, 664, 507}},
    {1042, kKnobClass, "LoPass", {581, 460, 619, 507}},
    {1043, kKnobClass, "Speed", {14, 403, 52, 450}},
    {1044, kKnobClass, "Std Dev", {374, 403, 412, 450}},
    {1045, "CHyperspace", "Hyperspace", {275, 11, 674, 380}},
    {1026, kEnvelopeClass, "Speed", {65, 400, 317, 454}},
    {1046, kKnobClass, "Attract", {480, 397, 518, 444}},
    {1047, kKnobClass, "Repel", {527, 397, 565, 444}},
    {1048, kKnobClass, "Proxim.", {572, 397, 610, 444}},
    {1049, kKnobClass, "Reflect", {422, 403, 460, 450}},
    {1050, kKnobClass, "Overdrv", {626, 403, 664, 450}},
    {1051, kKnobClass, "LFO", {329, 403, 367, 450}},
};

const uint32_t EditorLayout::dimensionDark[kDimensions] = {kVolumeDark, kPitchDark, kPanDark,
                                                           kResonanceDark, kNoiseDark};
const uint32_t EditorLayout::dimensionLight[kDimensions] = {kVolumeLight, kPitchLight, kPanLight,
                                                            kResonanceLight, kNoiseLight};

const EditorLayout::KnobPlace EditorLayout::knobs[kKnobs] = {
    // Sound dimensions: home knobs (upper row) and range knobs (lower row).
    {1022,
     {ValueText::kDecibel, "dB", kVolumeDark, kVolumeLight, 154, 0, 100, 2, 0, 1, 1},
     &Patch::volumeHome,
     0},
    {1036, {kInt, "%", kVolumeDark, kVolumeLight, 154, 0, 100, 0, 0, 1, 1}, &Patch::volumeRange, 4},
    {1037,
     {kInt, " s/t", kPitchDark, kPitchLight, 159, -24, 24, 0, 1, 0, 1},
     &Patch::coarseTune,
     -1},
    {1038, {kInt, "%", kPitchDark, kPitchLight, 159, -50, 50, 0, 1, 0, 1}, &Patch::fineTune, -1},
    {1035, {kInt, "%", kPitchDark, kPitchLight, 155, 0, 100, 0, 1, 1, 1}, &Patch::pitchRange, 5},
    {1031, {kInt, "", kPanDark, kPanLight, 156, -100, 100, 0, 2, 1, 1}, &Patch::panHome, 1},
    {1034, {kInt, "%", kPanDark, kPanLight, 156, 0, 100, 0, 2, 1, 1}, &Patch::panRange, 6},
    {1032,
     {kInt, "", kResonanceDark, kResonanceLight, 157, 0, 100, 0, 3, 1, 1},
     &Patch::resonanceHome,
     2},
    {1033,
     {kInt, "%", kResonanceDark, kResonanceLight, 157, 0, 100, 0, 3, 1, 1},
     &Patch::resonanceRange,
     7},
    {1039, {kInt, "%", kNoiseDark, kNoiseLight, 158, 0, 100, 0, 4, 1, 1}, &Patch::noiseHome, 3},
    {1040, {kInt, "%", kNoiseDark, kNoiseLight, 158, 0, 100, 0, 4, 1, 1}, &Patch::noiseRange, 8},
    // Motion, flocking and output: grey knobs without value text.
    {1042,
     {kInt, "%", kGreyDot, kGreyCaption, 160, 0, 100, 0, -1, 1, 0},
     &Patch::lowpassCutoff,
     16},
    {1041, {kInt, "%", kGreyDot, kGreyCaption, 160, 0, 100, 0, -1, 1, 0}, &Patch::filterQ, 17},
    {1043, {kInt, "%", kGreyDot, kGreyCaption, 160, 0, 100, 0, -1, 1, 0}, &Patch::speed, 9},
    {1051, {kInt, "%", kGreyDot, kGreyCaption, 160, 0, 100, 0, -1, 1, 0}, &Patch::lfoDepth, 10},
    {1044, {kInt, "%", kGreyDot, kGreyCaption, 160, 0, 100, 0, -1, 1, 0}, &Patch::stdDev, 11},
    {1049, {kInt, "%", kGreyDot, kGreyCaption, 160, 0, 100, 0, -1, 1, 0}, &Patch::reflection, 12},
    {1046, {kInt, "%", kGreyDot, kGreyCaption, 160, 0, 100, 0, -1, 1, 0}, &Patch::attract, 13},
    {1047, {kInt, "%", kGreyDot, kGreyCaption, 160, 0, 100, 0, -1, 1, 0}, &Patch::repel, 14},
    {1048, {kInt, "%", kGreyDot, kGreyCaption, 160, 0, 100, 0, -1, 1, 0}, &Patch::proximity, 15},
    {1050, {kInt, "%", kGreyDot, kGreyCaption, 160, 0, 100, 0, -1, 1, 0}, &Patch::overdrive, 18},
};

const EditorLayout::ControlPlace* EditorLayout::findControl(int32_t id)
{
    for (const ControlPlace& control : controls)
        if (control.id == id)
            return &control;
    return nullptr;
}

const EditorLayout::KnobPlace* EditorLayout::knobForParameter(int32_t index)
{
    if (index < 0)
        return nullptr;
    for (const KnobPlace& knob : knobs)
        if (knob.parameter == index)
            return &knob;
    return nullptr;
}

int32_t EditorLayout::upperControlId(int32_t dimension)
{
    static const int32_t ids[kDimensions] = {1022, 1037, 1031, 1032, 1039};
    return dimension >= 0 && dimension < kDimensions ? ids[dimension] : 0;
}

int32_t EditorLayout::rangeKnobId(int32_t dimension)
{
    static const int32_t ids[kDimensions] = {1036, 1035, 1034, 1033, 1040};
    return dimension >= 0 && dimension < kDimensions ? ids[dimension] : 0;
}

EnvelopeView EditorLayout::envelopeView(int32_t index)
{
    static const char* const names[kEnvelopeViews] = {
        "Vol Env",        "Pitch Env",     "Pan Env",         "Res. Env",
        "Noise Env",      "Vol Range Env", "Pitch Range Env", "Pan Range Env",
        "Res. Range Env", "Noise Range",   "Speed Env"};
    static const int32_t homeScales[kDimensions] = {0, 24, 100, 50, 50};
    if (index < 0 || index >= kEnvelopeViews)
        index = kSpeedEnv;
    EnvelopeView view = {index, names[index], rgb(128, 128, 128), nullptr, 1, 1};
    if (index < kVolumeRangeEnv) {
        view.colour = dimensionLight[index];
        view.kind = index == kVolumeEnv ? 0 : 2;
        view.scale = homeScales[index];
    } else if (index < kSpeedEnv) {
        view.colour = dimensionLight[index - kVolumeRangeEnv];
    }
    return view;
}

EditorLayout::ParameterTarget EditorLayout::parameterTarget(int32_t index)
{
    if (index >= 0 && index <= 18)
        return {kKnob, -1};
    if (index == 19 || index == 20)
        return {kSynthesisOption, -1};
    if (index == 21)
        return {kSeedOption, -1};
    // Home envelopes: volume has five parameters, the others eight each.
    if (index >= 22 && index <= 26)
        return {kHomeEnvelope, 0};
    if (index >= 27 && index <= 58)
        return {kHomeEnvelope, 1 + (index - 27) / 8};
    // Range envelopes: seven parameters each.
    if (index >= 59 && index <= 93)
        return {kRangeEnvelope, (index - 59) / 7};
    if (index >= 94 && index <= 100)
        return {kSpeedEnvelope, -1};
    return {kUnknown, -1};
}
