#include "FilterEffect.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
// Displays are "%f" texts, which can grow long for values far outside 0..1;
// hosts pass small buffers, so no display is longer than this (terminator
// included). The longest in-range text, "20040.000000", fits.
const int kDisplaySize = 16;

// Moves `now` one step towards `target`, stopping on it; false when `now`
// already equals the target (or the target is NaN, which is never reached).
inline bool glide(float& now, float target, float step)
{
    if (now < target) {
        now += step;
        if (now > target)
            now = target;
        return true;
    }
    if (now > target) {
        now -= step;
        if (now < target)
            now = target;
        return true;
    }
    return false;
}

// True when glide() would leave `now` where it is.
inline bool settled(float now, float target)
{
    return !(now < target) && !(now > target);
}

void printDisplay(char* text, const char* format, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    vstStrncpy(text, buffer, kDisplaySize);
}
} // namespace

// The cascade's cutoff limit is 0.49 in single precision (0.49000000953674316).
FilterEffect::FilterEffect(audioMasterCallback audioMaster, EditorFactory makeEditor)
    : AudioEffectX(audioMaster, 1, kNumParameters), filter(0.49f), resonanceNow(0.1f),
      cutoffNow(0.1f), resonanceTarget(0.5f), cutoffTarget(0.8f), preGainNow(0.25f),
      postGainNow(1.0f), preGainTarget(0.25f), postGainTarget(1.0f), depth(1), cutoffHz(0.0f),
      q(0.0f), lastGoodRate(44100.0f), redesignPending(false), view(nullptr), editorMissing(false)
{
    setNumInputs(2);
    setNumOutputs(2);
    canProcessReplacing(true);
    setUniqueID(kUniqueId);
    // The editor is made last, once every parameter it reads is in place.
    if (makeEditor) {
        view = makeEditor(*this);
        editorMissing = view == nullptr;
    }
    editor = view;
    setFlag(effFlagsHasEditor, editor != nullptr);
}

FilterEffect::~FilterEffect() {}

// ---- Parameters --------------------------------------------------------------

void FilterEffect::setParameter(VstInt32 index, float value)
{
    applyParameter(index, value, false);
}

float FilterEffect::getParameter(VstInt32 index)
{
    switch (index) {
    case kPreGain:
        return preGainTarget;
    case kResonance:
        return resonanceTarget;
    case kCutoff:
        return cutoffTarget;
    case kDepth:
        return static_cast<float>(depth) * 0.34482756f + 0.1f;
    case kPostGain:
        return postGainTarget;
    default:
        return 0.0f;
    }
}

VstInt32 FilterEffect::depthFromValue(float value)
{
    const double scaled = static_cast<double>(value) * 2.9;
    if (std::isnan(scaled))
        return -1;
    if (scaled >= 2147483647.0)
        return 2147483647;
    if (scaled <= -2147483648.0)
        return -2147483647 - 1;
    return static_cast<VstInt32>(scaled);
}

void FilterEffect::applyParameter(VstInt32 index, float value, bool fromEditor)
{
    switch (index) {
    case kPreGain:
        preGainTarget = value;
        break;
    case kResonance:
        resonanceTarget = value;
        break;
    case kCutoff:
        cutoffTarget = value;
        break;
    case kDepth:
        depth = depthFromValue(value);
        recomputeCoefficients(rateInUse());
        redesignPending.store(true, std::memory_order_release);
        break;
    case kPostGain:
        postGainTarget = value;
        break;
    default:
        return;
    }
    if (view && !fromEditor)
        view->refreshControl(index);
}

void FilterEffect::getParameterLabel(VstInt32 index, char* label)
{
    static const char* const labels[kNumParameters] = {"Db", "", "Hz", "Db", "Db"};
    vstStrncpy(label, index >= 0 && index < kNumParameters ? labels[index] : "", kDisplaySize);
}

void FilterEffect::getParameterName(VstInt32 index, char* text)
{
    static const char* const names[kNumParameters] = {"PreGain", "Resonance", "Cutoff", "Depth",
                                                      "PostGain"};
    vstStrncpy(text, index >= 0 && index < kNumParameters ? names[index] : "", kDisplaySize);
}

// Display expressions are evaluated in double from the single-precision
// target, so Cutoff 0.8 reads "12840.000381".
void FilterEffect::getParameterDisplay(VstInt32 index, char* text)
{
    if (!text)
        return;
    switch (index) {
    case kPreGain:
        dB2string(4.0f * preGainTarget, text);
        break;
    case kResonance: {
        const double r = resonanceTarget;
        printDisplay(text, "%f", 6.0 * r * r + 0.001);
        break;
    }
    case kCutoff: {
        const double c = cutoffTarget;
        printDisplay(text, "%f", 20000.0 * c * c + 40.0);
        break;
    }
    case kDepth: {
        const VstInt32 d = depth;
        std::snprintf(text, kDisplaySize, "%i", d <= 0 ? 12 : d == 1 ? 24 : 48);
        break;
    }
    case kPostGain:
        dB2string(postGainTarget, text);
        break;
    default:
        *text = 0;
        break;
    }
}

bool FilterEffect::getEffectName(char* name)
{
    vstStrncpy(name, "Quenvarel", 32);
    return true;
}

bool FilterEffect::getVendorString(char* text)
{
    vstStrncpy(text, "Orvalend", 64);
    return true;
}

bool FilterEffect::getProductString(char* text)
{
    vstStrncpy(text, "Quenvarel", 64);
    return true;
}

// ---- Processing --------------------------------------------------------------

float FilterEffect::rateInUse() const
{
    const float rate = sampleRate;
    return (rate > 0.0f && std::isfinite(rate)) ? rate : lastGoodRate;
}

// Cutoff 20000 c^2 + 40 Hz; Q from the smoothed Resonance r, with a range that
// narrows as stages are added so the cascade's total peak stays usable.
void FilterEffect::recomputeCoefficients(float rate)
{
    const double c = cutoffNow;
    const double r = resonanceNow;
    cutoffHz = static_cast<float>(20000.0 * c * c + 40.0);
    switch (depth) {
    case 0:
        q = static_cast<float>(5.0 * r * r + 0.5);
        break;
    case 1:
        q = static_cast<float>(2.5 * r * r + 0.5);
        break;
    case 2:
        q = static_cast<float>(1.5 * r * r + 0.5);
        break;
    default:
        break; // no stages run; Q keeps its last value
    }
    filter.designLowPass(cutoffHz, q, rate);
}

void FilterEffect::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames)
{
    process(inputs, outputs, sampleFrames);
}

void FilterEffect::process(float** inputs, float** outputs, VstInt32 sampleFrames)
{
    if (sampleFrames <= 0 || !outputs || !outputs[0] || !outputs[1])
        return;
    const size_t bytes = static_cast<size_t>(sampleFrames) * sizeof(float);
    for (int c = 0; c < 2; ++c) {
        const float* in = inputs ? inputs[c] : nullptr;
        if (!in)
            std::memset(outputs[c], 0, bytes);
        else if (in != outputs[c])
            std::memmove(outputs[c], in, bytes);
    }

    const float rate = rateInUse();
    lastGoodRate = rate;
    const float step = 3.0f / rate;
    // Inside the processing entries the processor flushes denormals itself.
    const bool softwareFlush = !LowPassCascade::hardwareFlushes();
    float* left = outputs[0];
    float* right = outputs[1];
    for (VstInt32 i = 0; i < sampleFrames; ++i) {
        // Once nothing glides and no redesign waits, the rest of the block
        // has constant gains and coefficients: the filter runs it in one
        // go and the clipper and output gain follow four samples at a time.
        if (!softwareFlush && !redesignPending.load(std::memory_order_relaxed) &&
            settled(resonanceNow, resonanceTarget) && settled(cutoffNow, cutoffTarget) &&
            settled(preGainNow, preGainTarget) && settled(postGainNow, postGainTarget)) {
            const VstInt32 d = depth;
            const int32_t frames = sampleFrames - i;
            filter.runStereoBlock(d >= 0 && d <= 2 ? d + 1 : 0, preGainNow * 4.0f, left + i,
                                  right + i, frames);
            SoftClipper::curveBlock(left + i, frames, postGainNow);
            SoftClipper::curveBlock(right + i, frames, postGainNow);
            break;
        }
        bool moved = glide(resonanceNow, resonanceTarget, step);
        moved = glide(cutoffNow, cutoffTarget, step) || moved;
        glide(preGainNow, preGainTarget, step);
        glide(postGainNow, postGainTarget, step);
        if (redesignPending.load(std::memory_order_relaxed))
            moved = redesignPending.exchange(false, std::memory_order_acquire) || moved;
        if (moved)
            recomputeCoefficients(rate);

        float l = preGainNow * 4.0f * left[i];
        float r = preGainNow * 4.0f * right[i];
        const VstInt32 d = depth; // any other depth passes unfiltered
        if (d >= 0 && d <= 2)
            filter.runStereo(d + 1, l, r, softwareFlush);
        // A non-finite sample (from the host, or a filter driven past
        // stability by an extreme Resonance) restarts its channel.
        filter.dropNonFinite(l, r);
        l = clipper.shape(l);
        r = clipper.shape(r);
        left[i] = l * postGainNow;
        right[i] = r * postGainNow;
    }
}
