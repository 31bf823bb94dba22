// The instrument's sound engine: eight voices on three lists, the pool of 64
// oscillators and its sharing among the voices, the MIDI event queue, the
// settings smoothing, the output filter, the overdrive and the master volume.
//
// Each processed block runs: the on-screen and computer keyboards, the mouse
// target, the host tempo, the display snapshot, and then per sample: due MIDI
// events, the oscillator count check, settings smoothing (and a new filter
// design when it moved), the voices' sound state, every oscillator's flight
// and sound, one oscillator's steering, the filter, the clipper and the
// master volume. The order is fixed, so a render is reproducible bit for bit.
//
// Threads: render, queueEvents and everything they call run on the audio
// thread; construction, setSampleRate, usePatch, reset, applySpeedSpread,
// resetDevices and the envelope edit hooks are called by the owner on the
// UI thread (or from processing, when it resumes a suspended object).
// Nothing allocates or locks after construction.
#pragma once

#include "ComputerKeyboard.h"
#include "FlockState.h"
#include "LowPassCascade.h"
#include "MidiEventQueue.h"
#include "MidiLearn.h"
#include "NoteReceiver.h"
#include "Oscillator.h"
#include "Patch.h"
#include "SoftClipper.h"
#include "SynthEngineListener.h"
#include "SynthSettings.h"
#include "SynthTables.h"
#include "Voice.h"
#include "VoiceInputs.h"

#include <cstdint>

class SynthEngine : public NoteReceiver {
public:
    enum { kVoices = 8, kOscillators = 64 };

    // Builds the tables (reseeding this thread's generator with 0) and then
    // randomises the oscillators from the continuing sequence.
    explicit SynthEngine(SynthSettings& settings);

    SynthEngine(const SynthEngine&) = delete;
    SynthEngine& operator=(const SynthEngine&) = delete;

    void setListener(SynthEngineListener* owner) { listener = owner; }
    // Sample rate in Hz for everything the engine times; a rate that is not
    // a positive finite number keeps the previous one.
    void setSampleRate(double rate);
    double sampleRate() const { return rate; }
    // Filter designs since construction (reset and cutoff or Q changes).
    int64_t filterDesignCount() const { return designCount; }
    double samplePeriod() const { return period; }
    // The current program: voices read their envelope shapes from it.
    void usePatch(Patch* program);
    Patch* currentPatch() const { return patch; }

    // The engine's part of a reset: empty queue, rotating indices 0, filter
    // designed for 5000 Hz and Q 1, computer keys forgotten, devices reset,
    // and the program's number of oscillators brought in.
    void reset();
    void resetDevices();
    // Brings in the program's number of oscillators: newcomers fade in on
    // the active voices, surplus ones fade out (or leave at once when they
    // have no sounding voice). Processing runs it every sample; the owner
    // runs it after loading a program so that a note at the very start of
    // the next block is shared out with the new count.
    void checkOscillatorCount();
    void applySpeedSpread();
    void updateLfoStep();
    // Loads the program's non-smoothed settings (times, LFO, steering,
    // reflection, phase correlation, reseed mode; pitch bend to 0).
    void loadSettings();
    // Derived settings of single program fields, for loads and for
    // parameter changes.
    void updateAttractStep();
    void updateRepelStep();
    void updateLfoDepth();
    void updateProximityRadius();
    void updateReflectionFactor();

    // Audio thread.
    void queueEvents(const VstEvents* events);
    // One processed block: the block-start inputs (mouse note, computer
    // keys, mouse target, host tempo, display snapshot), then render.
    void process(float* left, float* right, int32_t frames, int32_t screenNoteRequest,
                 ComputerKeyboard::KeyStateSource keys);
    // Renders `frames` samples, overwriting both outputs. A null output
    // renders into scratch space (the block still plays).
    void render(float* left, float* right, int32_t frames);
    void noteOn(int32_t note, int32_t velocity) override;
    void noteOff(int32_t note) override;

    // Block-start inputs, audio thread (render's caller runs them first).
    void serveScreenNote(int32_t requested); // -1 for none
    void pollComputerKeys(ComputerKeyboard::KeyStateSource isDown);
    void releaseComputerKeys() { keyboard.releaseAll(*this); }
    void updateMouseTarget();
    void followHostTempo();
    void takeDisplaySnapshot();

    // Envelope edit hooks (index 0..10; others do nothing).
    void attackTimeChanged(int32_t envelope);
    void decayTimeChanged(int32_t envelope);
    void releaseTimeChanged(int32_t envelope);
    void pointLevelChanged(int32_t envelope);
    void lastAttackPointChanged(int32_t envelope);
    void sustainLevelChanged(int32_t envelope);
    void releaseLevelChanged(int32_t envelope);

    // Whether the computer keyboard is polled (the editor's window is open).
    bool keyPollEnabled = false;
    // MIDI learn's hand-over: armed by the UI thread, caught by dispatch.
    MidiLearn learn;

    SynthTables tables; // first: built before the oscillators draw
    SynthSettings& settings;
    Voice voices[kVoices];
    VoiceInputs voiceInputs; // what the voices read besides their envelopes
    FlockState flock;        // the oscillators' per-sample fields, one column each
    Oscillator oscillators[kOscillators];
    Voice* activeVoices = nullptr;
    Voice* releasingVoices = nullptr;
    Voice* freeVoices = nullptr;
    int32_t activeCount = 0;
    int32_t releasingCount = 0;
    int32_t freeCount = 0;
    int32_t redistributeIndex = 0;
    int32_t steerIndex = 0;
    int32_t screenNotePlaying = -1;
    ComputerKeyboard keyboard;

private:
    enum { kScratch = 256 };

    void renderSpan(float* left, float* right, int32_t offset, int32_t frames);
    void dispatch(const VstMidiEvent& event);
    bool smoothSettings(); // true when the filter must be redesigned
    // Everything the settings smoothing reads: the program fields it
    // follows and the settings it moves or compares.
    struct SmoothingInputs {
        int32_t program[17];
        float smoothed[15];
        int32_t applied[5];
    };
    SmoothingInputs smoothingInputs() const;
    bool updateSteps(); // true when a step changed
    void updateVoices();
    void stepOscillators(float& left, float& right); // adds every oscillator's sound
    // Gives the live oscillators the first columns, those of each voice
    // side by side, and the rest the others.
    void regroupColumns();
    void steerOne();
    void outputStage(float& left, float& right);
    void settleFilter(int stages); // stages in use per channel
    void designFilter();
    bool quiet() const;
    static constexpr float kSettled = 1e-30f;

    void shareOnNoteOn(Voice* voice);
    void rehomeOrphans();
    // Detaches an oscillator at once, without a fade, and marks it removed.
    void dropOscillator(Oscillator& o);
    // Lowers liveCount to just above the highest oscillator still fading out
    // beyond requestedCount (or to requestedCount); those passed over leave.
    void trimLiveCount();
    int32_t patchOscillatorCount() const;

    void releaseVoice(Voice* voice);
    static Voice* unlink(Voice*& list, Voice* voice);

    Patch* patch = nullptr;
    SynthEngineListener* listener = nullptr;
    double rate = 44100.0;
    double period = 1.0 / 44100.0;
    float rateF = 44100.0f;
    MidiEventQueue queue;
    LowPassCascade filter;
    bool settingsMoved = true;    // the last settings smoothing changed something
    bool settingsResting = false; // it moved nothing, reading restingInputs
    SmoothingInputs restingInputs{};
    bool softwareFlush = true; // the filter flushes denormals itself
    float designedHz = 0.0f;   // cutoff and Q of the last design
    float designedQ = 0.0f;
    int64_t designCount = 0;
    SoftClipper clipLeft;
    SoftClipper clipRight;
    float scratch[2][kScratch];
    // The flock kernel's work, per column: the oscillator there, the live
    // count the columns were grouped for, and this sample's voice index
    // (-1: stepped one by one) and sample.
    Oscillator* columnOwner[kOscillators] = {};
    int32_t groupedLive = -1;
    FlockState regroupScratch;
    int8_t voiceOf[kOscillators] = {};
    float partLeft[kOscillators] = {}, partRight[kOscillators] = {};
};
