// What the editor, its controls and its option dialogs may do with the
// instrument: read and change the current program, reach the engine's
// tables, settings and oscillators, and tell the engine about edits.
//
// Threads: every operation is called on the host's user-interface thread
// (the editor and its dialogs run there). Nothing here takes a lock; the
// audio thread sees the changes through plain stores into the Patch and the
// settings.
#pragma once

#include <cstdint>

struct Patch;
struct SynthSettings;
class SynthTables;
class Oscillator;

class SynthInterface {
public:
    // Destroys the whole instrument.
    virtual ~SynthInterface() {}

    // All voices to the free list, every oscillator detached without fade;
    // then the editor clears its keyboard display.
    virtual void resetDevices() = 0;
    // The on-screen keyboard's mouse note (MIDI note number), -1 for none.
    virtual void setScreenNoteRequest(int32_t note) = 0;
    // Stores a knob's integer into the current program's field for control
    // `id` (1022..1051) and updates the engine values that depend on it.
    virtual void setControlValue(int32_t id, int32_t value) = 0;
    virtual Patch* getCurrentProgram() = 0;
    virtual Oscillator* getOscillators() = 0; // the 64-entry pool
    virtual SynthTables* getTables() = 0;
    virtual SynthSettings* getSettings() = 0;
    virtual void requestHyperspaceRedraw() = 0;
    virtual void clearKeyboardDisplay() = 0;
    // Redistributes the per-oscillator speed factors from stdDev and
    // oscillatorCount.
    virtual void applySpeedSpread() = 0;
    // Hyperspace mouse steering strength, 0 = off.
    virtual void setMouseSteering(int32_t strength) = 0;
    // Whether audio was processed (the flock moved) since the last call;
    // clears the flag. The editor's idle draws an animation frame then.
    virtual bool takeFlockMoved() = 0;

    // Envelope edit hooks; `envelope` is 0..10 (PatchEnvelopeIndex).
    virtual void attackTimeChanged(int32_t envelope) = 0;      // active voices
    virtual void decayTimeChanged(int32_t envelope) = 0;       // active voices
    virtual void releaseTimeChanged(int32_t envelope) = 0;     // releasing voices
    virtual void pointLevelChanged(int32_t envelope) = 0;      // active and releasing
    virtual void lastAttackPointChanged(int32_t envelope) = 0; // active voices
    virtual void sustainLevelChanged(int32_t envelope) = 0;    // active voices
    virtual void releaseLevelChanged(int32_t envelope) = 0;    // releasing voices

    // Replaces the current program by a random patch.
    virtual void randomisePatch() = 0;
    // Note-off for every computer key still held (sent by the audio code at
    // the start of its next block).
    virtual void releaseComputerKeys() = 0;
    // Parameter names for index 0..100; `text` holds at least 12 (short)
    // or 39 (long) characters.
    virtual void getParameterShortName(int32_t index, char* text) = 0;
    virtual void getParameterLongName(int32_t index, char* text) = 0;
    // Loads a whole 1908-byte program record into the current program (the
    // same operation as the host's chunk); returns 1908, or 0 when refused.
    virtual int32_t loadPresetRecord(const void* record, int32_t byteSize, bool isPreset) = 0;
    // The speed LFO dialog changed the program's tempo or measure: the
    // LFO's step per sample follows.
    virtual void updateLfoRate() = 0;
    // The number of oscillators changed: the attraction and repulsion
    // steps, which scale with it, follow.
    virtual void updateFlockingSteps() = 0;

    // MIDI learn. The next control change for a controller 0..119 that the
    // audio thread receives maps that controller to parameter `index`
    // (0..100) in the current program (it also moves the parameter at
    // once); another learn before then replaces this one, and an index
    // outside 0..100 cancels. A controller learned but not yet applied is
    // applied first.
    virtual void learnMidiController(int32_t index) = 0;
    // The parameter waiting for a controller, or -1.
    virtual int32_t learningParameter() = 0;
    // Writes a controller the audio thread has learned into the current
    // program's map (replacing the controller's old mapping); returns the
    // controller, or -1 when there was none.
    virtual int32_t applyLearnedController() = 0;
};
