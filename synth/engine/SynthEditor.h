// The instrument's editor as the effect object sees it: the host-facing
// editor operations of the effect base, plus what the synth tells it.
// Portable: the Windows builds make the real editor, other builds none.
//
// Threads: SetParameter, the note display and the request operations may be
// called from the audio thread as well as the UI thread; they only store
// values and raise flags, never touch a window or wait. The editor's idle
// (UI thread) serves them. isWindowOpen may be read from any thread.
#pragma once

#include "AEffEditor.h"

#include <cstdint>

struct Patch;
class SynthInterface;

class SynthEditor : public AEffEditor {
public:
    explicit SynthEditor(AudioEffect* owner) : AEffEditor(owner) {}

    // A host parameter (0..100) changed in `patch`, the current program:
    // the control that shows it follows. Another index shows the message
    // "Editor::SetParameter".
    virtual void SetParameter(int32_t index, const Patch* patch) = 0;
    // A note (0..127) started or ended, for the keyboard's display.
    virtual void showNoteOn(int32_t note) = 0;
    virtual void showNoteOff(int32_t note) = 0;
    // Every voice was reset: the keyboard display clears.
    virtual void clearKeyboardDisplay() = 0;
    virtual void requestHyperspaceRepaint() = 0;
    virtual void requestSpeedLfoRefresh() = 0;
    // A program change, chunk load or random patch: every control follows.
    virtual void requestFullRefresh() = 0;
    // True between open and close (the computer keyboard plays only then).
    virtual bool isWindowOpen() const = 0;
    // The hyperspace view's pass-throughs for the audio code. Oscillator
    // `index` (0..63) changed its voice: its trail starts afresh. And the
    // hyperspace cursor's place on display slot 0..4 (0..1; 0 for other
    // slots). Neither touches a window or waits.
    virtual void resetTrail(int32_t index) = 0;
    virtual float cursorCoordinate(int32_t slot) const = 0;
};

// The editor of this build, or null where there is none (the Linux build).
SynthEditor* createSynthEditor(AudioEffect* effect, SynthInterface* synth);
