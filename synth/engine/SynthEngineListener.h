// What the engine asks of its owner while it renders: the controller map's
// parameter changes, keyboard display updates, oscillator change reports,
// the host's tempo and the hyperspace view's pointer. Every call comes from
// the audio thread, at most once per event, key, oscillator change or block,
// never per sample. The defaults do nothing, so a test owner overrides only
// what it watches.
#pragma once

#include <cstdint>

class SynthEngineListener {
public:
    virtual ~SynthEngineListener() = default;
    // A mapped MIDI controller sets parameter `index` (0..100) to `value`.
    virtual void engineSetParameter(int32_t, float) {}
    // A note started (down) or ended (up), for the keyboard display.
    virtual void engineNoteShown(int32_t, bool) {}
    // Oscillator `index` changed voice since the last report.
    virtual void engineOscillatorChanged(int32_t) {}
    // Every voice was reset (the keyboard display should clear).
    virtual void engineDevicesReset() {}
    // The host's tempo in beats per minute; false when the host has none.
    virtual bool engineHostTempo(double&) { return false; }
    // The program's tempo changed (the editor's controls should refresh).
    virtual void engineTempoChanged() {}
    // The mouse pointer's place on the view's five axes (0..1 each); false
    // when there is no view to ask.
    virtual bool enginePointerTarget(float*) { return false; }
};
