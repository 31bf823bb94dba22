// The quenvarel effect: a stereo pre-gain, a resonant low-pass of one to three
// four-pole stages per channel, a soft clipper and a post-gain, applied sample
// by sample in the output buffers.
//
// Five parameters (0..1 from the host, not range-limited): PreGain, Resonance,
// Cutoff, Depth and PostGain. The four continuous ones glide towards their
// targets at 3 / sampleRate per sample, so a full sweep takes a third of a
// second; the filter is redesigned only while Resonance or Cutoff glides and
// whenever Depth is set. The effect has one program and no chunk: a host
// saves and restores it through the parameters. On Windows it owns an editor
// window (FilterEditor), made through a factory so this file stays portable;
// host changes ask it to refresh the parameter's control.
//
// Threads: processing runs on the host's audio thread; parameters may be set
// from any thread (each is a single 32-bit store, except Depth, which also
// redesigns the filter on the calling thread; the audio thread redesigns
// again at its next sample so a set torn by the two threads never persists).
#pragma once

#include "AudioEffectX.h"
#include "FilterEditorBase.h"
#include "LowPassCascade.h"
#include "SoftClipper.h"

#include <atomic>

class FilterEffect : public AudioEffectX {
public:
    enum Parameter { kPreGain, kResonance, kCutoff, kDepth, kPostGain, kNumParameters };
    enum { kUniqueId = 0x1D9B0053 };

    // Makes the effect's editor window; returns null when it cannot be made.
    typedef FilterEditorBase* (*EditorFactory)(FilterEffect& effect);

    // Without a factory (the Linux build, the unit tests) the effect has no
    // editor and no has-editor flag. With one, a failed editor leaves
    // editorFailed() true and the plug-in's entry refuses to load.
    explicit FilterEffect(audioMasterCallback audioMaster, EditorFactory makeEditor = nullptr);
    ~FilterEffect() override;

    void setParameter(VstInt32 index, float value) override; // any thread
    float getParameter(VstInt32 index) override;             // any thread: the target

    // Audio thread. Both overwrite the outputs. Null output channels make the
    // call a no-op; a null input channel is processed as silence.
    void process(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;

    // UI thread. Texts come from the targets, not the smoothed values.
    void getParameterLabel(VstInt32 index, char* label) override;
    void getParameterDisplay(VstInt32 index, char* text) override;
    void getParameterName(VstInt32 index, char* text) override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;

    // Any thread. Stores the value of parameter `index` (Depth also redesigns
    // the filter at once) and, unless the change came from the editor, asks
    // the editor to show it. The editor's own edits pass fromEditor = true:
    // they are neither echoed into its controls nor reported to the host.
    virtual void applyParameter(VstInt32 index, float value, bool fromEditor);

    // True when a factory was given but could not make the editor.
    bool editorFailed() const { return editorMissing; }

    // Depth from a host value: value x 2.9 truncated toward zero, saturated to
    // the 32-bit range; NaN gives -1. Any result outside 0..2 disables the
    // filter stages.
    static VstInt32 depthFromValue(float value);

    // Inspection, for tests and tools (any thread).
    VstInt32 depthSetting() const { return depth; }
    float cutoffFrequency() const { return cutoffHz; } // Hz, of the last redesign
    float quality() const { return q; }                // Q of the last redesign
    float smoothedCutoff() const { return cutoffNow; }
    float smoothedResonance() const { return resonanceNow; }
    float smoothedPreGain() const { return preGainNow; }
    float smoothedPostGain() const { return postGainNow; }
    const LowPassCascade& cascade() const { return filter; }
    // The rate the effect computes with: the base's rate when it is positive
    // and finite, else the last such rate seen (44100 at first).
    float rateInUse() const;

private:
    void recomputeCoefficients(float rate);

    LowPassCascade filter;
    SoftClipper clipper;
    float resonanceNow;    // 0..1, smoothed
    float cutoffNow;       // 0..1, smoothed
    float resonanceTarget; // as last set
    float cutoffTarget;    // as last set
    float preGainNow;      // smoothed; the input factor is 4 x this
    float postGainNow;     // smoothed output factor
    float preGainTarget;
    float postGainTarget;
    VstInt32 depth;     // stages minus one: 0, 1 or 2; anything else bypasses the filter
    float cutoffHz;     // Hz, last computed
    float q;            // last computed quality factor
    float lastGoodRate; // Hz, written by the audio thread
    std::atomic<bool> redesignPending;
    FilterEditorBase* view; // the editor, owned by the base as `editor`
    bool editorMissing;
};
