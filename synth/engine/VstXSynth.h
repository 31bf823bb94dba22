// The instrument's effect object. It answers the host through the effect
// base, owns the engine (settings, voices, oscillators, filter) and the 32
// programs, and offers the editor SynthInterface.
//
// Threads:
// - audio thread: process, processReplacing, processEvents, and everything
//   they call (renderBlock, queueEvents, reset when processing finds the
//   object suspended);
// - UI thread (the host's dispatcher thread): construction, destruction,
//   programs, chunks, names, suspend/resume, and every SynthInterface call;
// - any thread: setParameter and getParameter (hosts automate from the
//   audio thread, the editor and MIDI map dialog call from the UI thread).
// No locks: parameter changes are single 32-bit stores into the current
// Patch, whole-program loads are plain copies.
#pragma once

#include "AudioEffectX.h"
#include "Patch.h"
#include "SynthEditor.h"
#include "SynthEngine.h"
#include "SynthEngineListener.h"
#include "SynthInterface.h"
#include "SynthSettings.h"

#include <atomic>

struct ParameterInfo;

class VstXSynth : public AudioEffectX, public SynthInterface, private SynthEngineListener {
public:
    enum { kNumPrograms = 32, kNumParams = 101, kUniqueId = 0x780CB5FE, kComputerKeys = 27 };

    explicit VstXSynth(audioMasterCallback audioMaster); // UI thread
    ~VstXSynth() override;                               // UI thread

    // Effect base overrides.
    void setParameter(VstInt32 index, float value) override;       // any thread
    float getParameter(VstInt32 index) override;                   // any thread
    void getParameterLabel(VstInt32 index, char* label) override;  // UI thread
    void getParameterDisplay(VstInt32 index, char* text) override; // UI thread
    void getParameterName(VstInt32 index, char* text) override;    // UI thread
    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                         float opt) override; // UI thread (audio thread for events)

    void process(float** inputs, float** outputs, VstInt32 sampleFrames) override; // audio thread
    void processReplacing(float** inputs, float** outputs,
                          VstInt32 sampleFrames) override; // audio thread
    VstInt32 processEvents(VstEvents* events) override;    // audio thread

    void setProgram(VstInt32 program) override;                               // UI thread
    void setProgramName(char* name) override;                                 // UI thread
    void getProgramName(char* name) override;                                 // UI thread
    VstInt32 getChunk(void** data, bool isPreset) override;                   // UI thread
    VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset) override; // UI thread
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;
    bool copyProgram(VstInt32 destination) override; // UI thread

    void setSampleRate(float newRate) override;   // UI thread; used from the next reset
    void setBlockSize(VstInt32 newSize) override; // UI thread
    void suspend() override;                      // UI thread
    void resume() override;                       // UI thread

    bool getOutputProperties(VstInt32 index, VstPinProperties* properties) override;
    bool getEffectName(char* name) override;
    bool getProductString(char* text) override;
    bool getVendorString(char* text) override;
    VstInt32 getVendorVersion() override { return 1; }
    VstInt32 canDo(char* text) override;

    // SynthInterface (UI thread).
    void resetDevices() override;
    void setScreenNoteRequest(int32_t note) override
    {
        screenNoteRequested.store(note, std::memory_order_relaxed);
    }
    void setControlValue(int32_t id, int32_t value) override;
    Patch* getCurrentProgram() override { return &programs[curProgram]; }
    Oscillator* getOscillators() override;
    SynthTables* getTables() override;
    SynthSettings* getSettings() override { return &settings; }
    void requestHyperspaceRedraw() override;
    void clearKeyboardDisplay() override;
    void applySpeedSpread() override;
    void setMouseSteering(int32_t strength) override { mouseSteering = strength; }
    bool takeFlockMoved() override { return processedSinceRedraw.exchange(false); }
    void attackTimeChanged(int32_t envelope) override;
    void decayTimeChanged(int32_t envelope) override;
    void releaseTimeChanged(int32_t envelope) override;
    void pointLevelChanged(int32_t envelope) override;
    void lastAttackPointChanged(int32_t envelope) override;
    void sustainLevelChanged(int32_t envelope) override;
    void releaseLevelChanged(int32_t envelope) override;
    void randomisePatch() override;
    void releaseComputerKeys() override;
    void getParameterShortName(int32_t index, char* text) override;
    void getParameterLongName(int32_t index, char* text) override;
    int32_t loadPresetRecord(const void* record, int32_t byteSize, bool isPreset) override;
    void updateLfoRate() override;
    void updateFlockingSteps() override;
    void learnMidiController(int32_t index) override;
    int32_t learningParameter() override { return engine.learn.waitingParameter(); }
    int32_t applyLearnedController() override;

    // Engine state read by tests and by the editor.
    bool isSuspended() const { return suspended; }
    // The on-screen keyboard's note request (-1: none).
    int32_t screenNoteRequest() const { return screenNoteRequested.load(); }
    double getSamplePeriod() const { return engine.samplePeriod(); }  // seconds
    const Patch& program(int index) const { return programs[index]; } // index 0..31
    const SynthEngine& soundEngine() const { return engine; }         // for tests and tools

private:
    // The engine hooks. Audio thread: renderBlock serves the block-start
    // inputs and writes `frames` samples (0 or more) to both outputs (never
    // accumulating); queueEvents copies incoming MIDI events into the event
    // queue.
    void renderBlock(float** outputs, VstInt32 frames);
    void queueEvents(VstEvents* events);

    // The common processing entry; audio thread.
    void processBlock(float** outputs, VstInt32 frames);
    // Engine reset: run by resume and by processing while suspended.
    void reset();
    // Takes the current program's non-smoothed settings over (redistribution,
    // portamento, smoothing, LFO, steering, reflection, phase correlation,
    // reseed mode) and zeroes the pitch bend.
    void loadProgramIntoSettings();
    // Runs the change step of a parameter row after its value was stored.
    void applyParameterChange(const ParameterInfo& info);
    // Points the voices at the current program.
    void useCurrentProgram();
    // Tells the editor (when it exists) that a parameter or the whole
    // program changed.
    void editorParameterChanged(VstInt32 index);
    void editorRefresh();

    // SynthEngineListener: controller-map changes, device resets and the
    // host tempo, asked for by the engine on the audio thread.
    void engineSetParameter(int32_t index, float value) override;
    void engineNoteShown(int32_t note, bool down) override;
    void engineDevicesReset() override;
    bool engineHostTempo(double& bpm) override;
    void engineTempoChanged() override;
    void engineOscillatorChanged(int32_t index) override;
    bool enginePointerTarget(float* axes) override;

    // The editor (also held by the effect base as `editor`); null in builds
    // without one.
    SynthEditor* synthEditor = nullptr;

    Patch programs[kNumPrograms];
    SynthSettings settings;
    // Tables, voices, oscillators, event queue, filter and clippers. Built
    // before the constructor body gives the programs their clock seeds.
    SynthEngine engine{settings};

    // The on-screen keyboard's mouse note, written by the UI thread and
    // served by the audio thread at the start of each block.
    std::atomic<int32_t> screenNoteRequested{-1};
    int32_t screenNotePlaying = -1;
    // releaseComputerKeys on the UI thread asks; the next block's start
    // sends the note-offs, so only the audio thread touches the voices.
    std::atomic<bool> computerKeysReleaseRequested{false};
    int32_t mouseSteering = 0;
    bool suspended = true;
    std::atomic<bool> processedSinceRedraw{false}; // set per block, taken by the editor
    // Set by setParameter on an unknown index (possibly on the audio
    // thread); the UI thread's next dispatcher call shows the message.
    std::atomic<bool> badParameterIndex{false};
};
